// Test hooks for the calls that would otherwise wait for a person: message
// boxes, the open-file dialog and the shell. A test scripts the answers,
// runs the GUI code that calls the real functions, then looks at what was
// asked. GUI thread only; not thread-safe.
//
// The hooks are active after ResetHooks() or any Script...() call, and on
// their own whenever the GUI runs on the "offscreen" or "minimal" platform,
// where nobody could answer a real dialog. While they are active, a call
// with no scripted answer left is recorded with scripted == false, reported
// on standard error, and gets the negative answer: the escape button of a
// message box (IDOK for MB_OK, IDNO for MB_YESNO, IDCANCEL otherwise), a
// cancelled open-file dialog, SE_ERR_NOASSOC from the shell.
#pragma once

#include "platform/win32/Win32.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace win32test {

struct MessageBoxCall {
    HWND owner;
    std::string text, caption;
    UINT type;
    bool scripted; // false: no answer was queued
};

void ScriptMessageBox(int answer);
const std::vector<MessageBoxCall>& MessageBoxCalls();

struct ShellExecuteCall {
    HWND owner;
    std::string verb, file, parameters, directory; // null arguments become ""
    INT show;
    bool scripted;
};

// The value ShellExecuteA returns; > 32 is success.
void ScriptShellExecute(std::intptr_t result);
const std::vector<ShellExecuteCall>& ShellExecuteCalls();

struct OpenFileNameCall {
    HWND owner;
    std::string title;
    std::vector<std::pair<std::string, std::string>> filter; // (description, pattern)
    std::string initialFile;                                 // lpstrFile on entry
    DWORD flags;
    DWORD nMaxFile;
    bool scripted;
};

// The path the user "picks". It is delivered as the real dialog's would be:
// GetOpenFileNameA returns FALSE if it does not fit nMaxFile.
void ScriptOpenFileName(const std::string& path);
void ScriptOpenFileNameCancel();
const std::vector<OpenFileNameCall>& OpenFileNameCalls();

// Clears every queue and record and activates the hooks.
void ResetHooks();
// false: real dialogs even on the offscreen platform (for testing them).
void SetHooksActive(bool active);
bool HooksActive();
// Scripted answers not consumed yet, over all three queues.
std::size_t UnusedAnswers();

// What GetModuleFileNameA(nullptr, ...) reports as the program's file (the
// settings beside it then live in that file's folder); empty gives back the
// real one. Library search and GetProgramFolder() are not affected.
void SetProgramFileName(const std::string& path);

// The Linux file name LoadLibraryA looks for when given a name without a
// folder ("WAB32.DLL" -> "libwab32.so"); empty when it maps to nothing.
std::string MappedLibraryName(const char* name);

} // namespace win32test
