// Every text the user sees, in one place. Prompts are UTF-16 (char16_t) on every platform; the
// window's own captions are for the W functions (wchar_t).
#pragma once

namespace texts {

inline constexpr char16_t kProgramTitle[] = u"Orvandel";

// The run's prompts.
inline constexpr char16_t kSourceMissing[] = u"要处理的文件不存在";
inline constexpr char16_t kBeforeTitle[] = u"未处理前的文件";
inline constexpr char16_t kLineCommentsTitle[] = u"第一步，去除“//”";
inline constexpr char16_t kBlockCommentsTitle[] = u"第二步，去除“/**/”";
inline constexpr char16_t kSaveFailed[] = u"保存失败！\r\n\r\n";                  // then the path
inline constexpr char16_t kSavedOpen[] = u"保存成功！ 是否打开该文件？\r\n\r\n";  // then the path
inline constexpr char16_t kCannotReadSource[] = u"不存在该文件或该文件不能访问！";
inline constexpr char16_t kOutOfMemory[] = u"内存不足，无法处理该文件！";
inline constexpr char16_t kSavedButOutOfMemory[] = u"保存成功！但内存不足，无法继续。";

// The open-file dialog's error trap: "Error: ", the number, a space and the description.
inline constexpr char16_t kOpenDialogErrorTitle[] = u"mnuFileOpenDialog_Click";
inline constexpr char16_t kOpenDialogError[] = u"Error: ";
inline constexpr char16_t kOutOfMemoryError[] = u"7 Out of memory";
inline constexpr char16_t kUnknownError[] = u"5 Unknown error";

// The window.
inline constexpr wchar_t kWindowCaption[] = L"Orvandel";
inline constexpr wchar_t kStartButton[] = L"开始处理";
inline constexpr wchar_t kSourceFrame[] = L"文件名";
inline constexpr wchar_t kDefaultSource[] = L"C:\\1.cpp";
inline constexpr wchar_t kBrowseButton[] = L"浏览(&B)...";
inline constexpr wchar_t kExitButton[] = L"退出";
inline constexpr wchar_t kSaveFolderFrame[] = L"保存目录";
inline constexpr wchar_t kDefaultSaveFolder[] = L"C:\\";
inline constexpr wchar_t kOpenDialogTitle[] = L"选择文件";
inline constexpr wchar_t kOpenDialogFilter[] =
    L"C类文件(*.c;*.cpp;*.h;*.hpp;*.java)\0*.c;*.cpp;*.h;*.hpp;*.java\0所有文件(*.*)\0*.*\0";
inline constexpr wchar_t kFolderBrowserTitle[] = L"选择保存位置";

// The window's system menu, the About box and the remembered options.
inline constexpr wchar_t kMenuLiterals[] = L"识别字符串和字符常量(&L)";
inline constexpr wchar_t kMenuKeepHeader[] = L"保留文件头部注释(&H)";
inline constexpr wchar_t kMenuExhibit[] = L"生成软著源代码文档(&D)...";
inline constexpr wchar_t kMenuAbout[] = L"关于 Orvandel(&A)...";
inline constexpr wchar_t kAboutTitle[] = L"关于 Orvandel";
inline constexpr wchar_t kAboutVersion[] = L"Orvandel ";  // then the version
inline constexpr wchar_t kAboutText[] =
    L"\r\n\r\n去除 C、C++ 和 Java 源文件中的注释和空行。\r\n\r\n"
    L"按 MIT 许可证发布。Copyright (c) 2026 The Orvandel developers";
inline constexpr wchar_t kSettingsNotSaved[] = L"无法保存设置，但在本次运行结束前仍然有效。";

// A failure of the window outside a run (kOutOfMemory is the run's).
inline constexpr char16_t kOutOfMemoryElsewhere[] = u"内存不足，无法完成该操作！";
inline constexpr char16_t kUnexpectedFailure[] = u"出现意外错误，无法完成该操作！";

// The text viewer's buttons, as a message box names them.
inline constexpr wchar_t kYesButton[] = L"是(&Y)";
inline constexpr wchar_t kNoButton[] = L"否(&N)";
inline constexpr wchar_t kOkButton[] = L"确定";

}  // namespace texts
