// Form1, the program's one window: the two fields, the four buttons and the title label.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "files/mdlPub.h"
#include "processing/processing_run.h"
#include "ui/control_ids.h"
#include "ui/font.h"
#include "ui/user_settings.h"
#include "ui/window_base.h"

class Form1 : public WindowBase<Form1>, public ProcessingHost {
  public:
    // Creates and shows the window; false when it could not be created.
    bool Create(HINSTANCE instance, int show);
    // Tells the user of a failure that a window procedure or Guard caught, if there was one: in a
    // run that memory ran out for the file, elsewhere what kind of failure ended the action.
    void ReportFailure();

    // What the processing run needs from the window.
    WideText Text1() override { return TextOf(kText1); }
    WideText Text2() override { return TextOf(kText2); }
    void SetCommand1Enabled(bool enabled) override;
    void OpenResult(const Path& path) override { mdlPub::ShellOpen(window_, path); }
    StripOptions Options() override;
    PromptAnswer MessagePrompt(const Prompt& prompt) override;

  private:
    friend class WindowBase<Form1>;
    static LRESULT CALLBACK Text2Proc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void OnCommand(int id, int notification);
    void AddSystemMenuItems();
    bool OnSystemMenu(UINT id);
    void ShowAbout();
    void OnDpiChanged(int dpi, const RECT& suggested);
    void OnDropFiles(HDROP drop);
    bool OnActivate(bool active);
    void LayOut();
    void NormaliseText2();
    void PressFocusedButton();
    void PickSourceFile();
    void PickSaveFolder();
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    WideText TextOf(int id) const;

    HWND lastFocus_ = nullptr;  // the control to give the focus back to on activation
    bool running_ = false;      // from a click on Command1 until its run has ended
    bool failedInRun_ = false;  // the failure to report ended a run
    UserSettings settings_ = LoadUserSettings();
    bool toldSettingsNotSaved_ = false;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    Font font_;
};
