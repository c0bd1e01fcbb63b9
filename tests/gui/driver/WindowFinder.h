// Finding top-level windows by caption and controls inside them.
#pragma once
#include <windows.h>

#include <string>

// A visible top-level window with exactly this caption, in any process.
HWND FindWindowByCaption(const std::wstring& caption);

// The window's text through WM_GETTEXT (marshalled between processes).
bool ReadWindowText(HWND window, std::wstring& text);

// The text shown by a message box: its static control without an icon.
bool ReadMessageBoxText(HWND box, std::wstring& text);

// One line per child window: ID, class and text, for failure reports.
std::wstring DescribeChildren(HWND window);
