// Keyboard and mouse input as the hardware gives it: it reaches the program through its own message
// loop with the key and button state set, as a person's typing and clicking would. Posted messages
// skip that state (Shift+Tab reads the Shift key's state), and a posted click does not move the
// focus. The keys go through SendInput to the foreground window, the mouse through the X server.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

// Presses the keys in order and releases them in reverse: {VK_SHIFT, VK_TAB} is Shift+Tab.
void PressKeys(std::initializer_list<WORD> keys);
// Types the characters one by one, as a keyboard layout that has them would.
void TypeText(const std::wstring& text);
// Moves the mouse to the middle of `window` and clicks its left button there; false if the click
// could not be given.
bool ClickWithMouse(HWND window);
// Moves the mouse to a point of the screen and clicks its left button there.
bool ClickAtScreenPoint(int x, int y);
