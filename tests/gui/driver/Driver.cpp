// velmora-driver: plays a GUI test script against windows of other programs
// in the same Wine (or Windows) session, as a user would drive them.
//
// Usage: velmora-driver SCRIPT. The script holds one step a line (see
// StepParser.h for quoting). Every check waits until it holds; the timeout only ends a test
// that would otherwise hang, it never decides one. Steps:
//
//   timeout SECONDS            longest wait of the following steps (default 30)
//   window CAPTION             wait for a visible window with this caption; it becomes current
//   gone CAPTION               wait until no visible window has this caption
//   text ID EXPECTED           wait until control ID of the current window shows EXPECTED
//   enabled ID 0|1             wait until control ID is disabled (0) or enabled (1)
//   combo ID INDEX EXPECTED    wait until entry INDEX of combo box ID reads EXPECTED
//   combo-count ID N           wait until combo box ID holds N entries
//   select ID INDEX            select entry INDEX of combo box ID (with CBN_SELCHANGE)
//   click ID                   press button ID (BM_CLICK, posted: it may open modal windows)
//   command ID                 post WM_COMMAND ID to the current window (IDCANCEL = Esc)
//   type ID TEXT               type TEXT into edit ID character by character (WM_CHAR)
//   clear ID                   empty edit ID (WM_SETTEXT)
//   message CAPTION TEXT BUTTON  wait for a message box, check its text, press ok|yes|no|cancel
//   expect-message CAPTION TEXT  the same without pressing a button
//   answer CAPTION BUTTON      press BUTTON of message box CAPTION
//   rows ID COLUMNS            the lines up to "end" are the expected rows of list view ID,
//                              one quoted word per cell
//   row-count ID N             wait until list view ID holds N rows
//   header ID COLUMN           click header item COLUMN of list view ID
//   save-as PATH               in the "Save As" dialog, enter PATH and save
//   same-file PATH GOLDEN      wait until file PATH holds exactly the bytes of file GOLDEN
//
// Paths: "@/x" is x beside the script, "/x" the Unix path /x (drive Z:), any
// other path is relative to the driver's working directory.
//   shot NAME [CAPTION]        print "SHOT NAME X Y W H" (the screen rectangle of the
//                              current window, joined with window CAPTION's) and wait
//                              for the line "taken" on stdin (the controller takes the
//                              screenshot meanwhile)
//   dump                       print the controls of the current window (for writing scripts)
//
// With VELMORA_DRIVER_RECORD=1 in the environment, "rows" prints the rows it
// finds in script syntax instead of checking them, and "same-file" copies PATH
// over GOLDEN: for writing new scripts, whose results are then checked by eye.
//
// Prints "PASS" and exits 0 when every step held, else "FAIL line N: why" and exits 1.
#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "RemoteListView.h"
#include "StepParser.h"
#include "WindowFinder.h"

namespace {

std::wstring Utf8ToWide(const std::string& text)
{
    if (text.empty())
        return {};
    int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string WideToUtf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                       nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length, nullptr,
                          nullptr);
    return narrow;
}

// Shows control characters so that failure reports stay on one line.
std::string Visible(const std::wstring& text)
{
    std::string shown;
    for (char c : WideToUtf8(text)) {
        if (c == '\n')
            shown += "\\n";
        else if (c == '\t')
            shown += "\\t";
        else
            shown += c;
    }
    return "\"" + shown + "\"";
}

struct StepFailure {
    std::string why;
};

class Driver {
public:
    using Words = std::vector<std::string>;

    Driver(std::istream& script, const std::string& scriptDirectory)
        : m_script(script), m_scriptDirectory(scriptDirectory)
    {
        m_steps = {
            {"timeout", [this](const Words& w) { m_timeoutSeconds = Number(w, 1); }},
            {"window", [this](const Words& w) { StepWindow(w); }},
            {"gone", [this](const Words& w) { StepGone(w); }},
            {"text", [this](const Words& w) { StepText(w); }},
            {"enabled", [this](const Words& w) { StepEnabled(w); }},
            {"combo", [this](const Words& w) { StepCombo(w); }},
            {"combo-count", [this](const Words& w) { StepComboCount(w); }},
            {"select", [this](const Words& w) { StepSelect(w); }},
            {"click", [this](const Words& w) { ::PostMessageW(Control(w, 1), BM_CLICK, 0, 0); }},
            {"command", [this](const Words& w) { StepCommand(w); }},
            {"type", [this](const Words& w) { StepType(w); }},
            {"clear", [this](const Words& w) { StepClear(w); }},
            {"message", [this](const Words& w) { StepMessage(w); }},
            {"expect-message", [this](const Words& w) { StepExpectMessage(w); }},
            {"answer", [this](const Words& w) { StepAnswer(w); }},
            {"rows", [this](const Words& w) { StepRows(w); }},
            {"header", [this](const Words& w) { StepHeader(w); }},
            {"row-count", [this](const Words& w) { StepRowCount(w); }},
            {"save-as", [this](const Words& w) { StepSaveAs(w); }},
            {"same-file", [this](const Words& w) { StepSameFile(w); }},
            {"shot", [this](const Words& w) { StepShot(w); }},
            {"dump", [this](const Words&) { std::cerr << WideToUtf8(DescribeChildren(Current())); }},
        };
    }

    int Run()
    {
        std::string line;
        while (std::getline(m_script, line)) {
            ++m_lineNumber;
            ParsedStep step = ParseStepLine(line);
            try {
                if (!step.error.empty())
                    throw StepFailure{step.error};
                if (step.words.empty())
                    continue;
                auto found = m_steps.find(step.words[0]);
                if (found == m_steps.end())
                    throw StepFailure{"unknown step " + step.words[0]};
                std::cerr << "step " << m_lineNumber << ": " << line << "\n";
                found->second(step.words);
            } catch (const StepFailure& failure) {
                std::cout << "FAIL line " << m_lineNumber << ": " << failure.why << std::endl;
                return 1;
            }
        }
        std::cout << "PASS" << std::endl;
        return 0;
    }

private:
    std::istream& m_script;
    std::string m_scriptDirectory;
    std::map<std::string, std::function<void(const Words&)>> m_steps;
    HWND m_current = nullptr;
    std::string m_currentCaption;
    int m_timeoutSeconds = 30;
    int m_lineNumber = 0;

    static const std::string& Word(const Words& words, size_t index)
    {
        if (index >= words.size())
            throw StepFailure{"step " + words[0] + " needs more words"};
        return words[index];
    }

    static int Number(const Words& words, size_t index)
    {
        const std::string& word = Word(words, index);
        try {
            size_t used = 0;
            int value = std::stoi(word, &used, 0);
            if (used == word.size())
                return value;
        } catch (const std::exception&) {
        }
        throw StepFailure{"not a number: " + word};
    }

    HWND Current() const
    {
        if (m_current == nullptr || !::IsWindow(m_current))
            throw StepFailure{"no current window (the last one was " + m_currentCaption + ")"};
        return m_current;
    }

    HWND Control(const Words& words, size_t index) const
    {
        HWND control = ::GetDlgItem(Current(), Number(words, index));
        if (control == nullptr)
            throw StepFailure{"no control " + Word(words, index) + " in \"" + m_currentCaption + "\"\n"
                              + WideToUtf8(DescribeChildren(Current()))};
        return control;
    }

    // Polls `holds` until it returns true; `observed` describes the last
    // state for the failure report.
    void WaitUntil(const std::function<bool()>& holds, const std::function<std::string()>& observed,
                   const std::string& what) const
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(m_timeoutSeconds);
        while (!holds()) {
            if (std::chrono::steady_clock::now() > deadline)
                throw StepFailure{what + ": still " + observed() + " after " + std::to_string(m_timeoutSeconds)
                                  + " s"};
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

    HWND WaitForWindow(const std::string& caption)
    {
        std::wstring wide = Utf8ToWide(caption);
        HWND window = nullptr;
        WaitUntil([&] { return (window = FindWindowByCaption(wide)) != nullptr; }, [] { return std::string("absent"); },
                  "window \"" + caption + "\"");
        return window;
    }

    void StepWindow(const Words& words)
    {
        m_currentCaption = Word(words, 1);
        m_current = WaitForWindow(m_currentCaption);
    }

    void StepGone(const Words& words)
    {
        std::wstring caption = Utf8ToWide(Word(words, 1));
        WaitUntil([&] { return FindWindowByCaption(caption) == nullptr; }, [] { return std::string("present"); },
                  "window \"" + Word(words, 1) + "\" to close");
    }

    void StepText(const Words& words)
    {
        HWND control = Control(words, 1);
        std::wstring expected = Utf8ToWide(Word(words, 2));
        std::wstring text;
        WaitUntil([&] { return ReadWindowText(control, text) && text == expected; }, [&] { return Visible(text); },
                  "control " + words[1] + " to read " + Visible(expected));
    }

    void StepEnabled(const Words& words)
    {
        HWND control = Control(words, 1);
        bool expected = Number(words, 2) != 0;
        WaitUntil([&] { return (::IsWindowEnabled(control) != FALSE) == expected; },
                  [&] { return std::string(expected ? "disabled" : "enabled"); },
                  "control " + words[1] + (expected ? " enabled" : " disabled"));
    }

    void StepCombo(const Words& words)
    {
        HWND combo = Control(words, 1);
        int index = Number(words, 2);
        std::wstring expected = Utf8ToWide(Word(words, 3));
        std::wstring text;
        auto read = [&] {
            DWORD_PTR length = 0;
            if (!::SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG, 5000,
                                       &length)
                || static_cast<LRESULT>(length) == CB_ERR)
                return false;
            // CB_GETLBTEXT is marshalled between processes like WM_GETTEXT.
            std::vector<wchar_t> buffer(length + 1, L'\0');
            DWORD_PTR copied = 0;
            if (!::SendMessageTimeoutW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                       reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG, 5000, &copied))
                return false;
            text.assign(buffer.data(), copied <= length ? copied : length);
            return text == expected;
        };
        WaitUntil(read, [&] { return Visible(text); }, "combo entry " + words[2] + " to read " + Visible(expected));
    }

    void StepComboCount(const Words& words)
    {
        HWND combo = Control(words, 1);
        int expected = Number(words, 2);
        DWORD_PTR count = 0;
        WaitUntil(
            [&] {
                return ::SendMessageTimeoutW(combo, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count)
                       && static_cast<int>(count) == expected;
            },
            [&] { return std::to_string(static_cast<int>(count)) + " entries"; }, "combo box with " + words[2] + " entries");
    }

    void StepSelect(const Words& words)
    {
        HWND combo = Control(words, 1);
        int index = Number(words, 2);
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG, 5000, &result);
        if (static_cast<int>(result) != index)
            throw StepFailure{"combo box has no entry " + words[2]};
        ::PostMessageW(Current(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(combo), CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(combo));
    }

    void StepCommand(const Words& words)
    {
        ::PostMessageW(Current(), WM_COMMAND, MAKEWPARAM(Number(words, 1), BN_CLICKED), 0);
    }

    void StepType(const Words& words)
    {
        HWND edit = Control(words, 1);
        for (wchar_t c : Utf8ToWide(Word(words, 2))) {
            DWORD_PTR ignored = 0;
            ::SendMessageTimeoutW(edit, WM_CHAR, c, 1, SMTO_ABORTIFHUNG, 5000, &ignored);
        }
    }

    void StepClear(const Words& words)
    {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(Control(words, 1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""), SMTO_ABORTIFHUNG, 5000,
                              &ignored);
    }

    static bool Recording()
    {
        wchar_t value[8]{};
        return ::GetEnvironmentVariableW(L"VELMORA_DRIVER_RECORD", value, 8) > 0 && value[0] == L'1';
    }

    static std::string Quoted(const std::wstring& text)
    {
        std::string quoted = "\"";
        for (char c : WideToUtf8(text)) {
            if (c == '"' || c == '\\')
                quoted += '\\';
            if (c == '\n')
                quoted += "\\n";
            else if (c == '\t')
                quoted += "\\t";
            else
                quoted += c;
        }
        return quoted + "\"";
    }

    static int ButtonId(const std::string& name)
    {
        static const std::map<std::string, int> buttons = {
            {"ok", IDOK}, {"cancel", IDCANCEL}, {"yes", IDYES}, {"no", IDNO}};
        auto found = buttons.find(name);
        if (found == buttons.end())
            throw StepFailure{"unknown button " + name};
        return found->second;
    }

    // Waits for message box CAPTION and checks its text.
    HWND ExpectMessage(const std::string& caption, const std::string& text)
    {
        std::wstring expected = Utf8ToWide(text);
        HWND box = WaitForWindow(caption);
        std::wstring shown;
        if (!ReadMessageBoxText(box, shown) || shown != expected)
            throw StepFailure{"message box \"" + caption + "\" reads " + Visible(shown) + ", expected "
                              + Visible(expected)};
        return box;
    }

    void PressMessageButton(HWND box, const std::string& caption, const std::string& buttonName)
    {
        HWND control = ::GetDlgItem(box, ButtonId(buttonName));
        if (control == nullptr)
            throw StepFailure{"message box \"" + caption + "\" has no " + buttonName + " button\n"
                              + WideToUtf8(DescribeChildren(box))};
        ::PostMessageW(control, BM_CLICK, 0, 0);
        WaitUntil([&] { return !::IsWindow(box); }, [] { return std::string("open"); },
                  "message box \"" + caption + "\" to close");
    }

    void StepMessage(const Words& words)
    {
        HWND box = ExpectMessage(Word(words, 1), Word(words, 2));
        PressMessageButton(box, words[1], Word(words, 3));
    }

    void StepExpectMessage(const Words& words) { ExpectMessage(Word(words, 1), Word(words, 2)); }

    void StepAnswer(const Words& words)
    {
        PressMessageButton(WaitForWindow(Word(words, 1)), words[1], Word(words, 2));
    }

    // Reads the expected rows that follow the step, up to "end".
    std::vector<ListRow> ReadExpectedRows()
    {
        std::vector<ListRow> rows;
        std::string line;
        while (std::getline(m_script, line)) {
            ++m_lineNumber;
            ParsedStep step = ParseStepLine(line);
            if (!step.error.empty())
                throw StepFailure{step.error};
            if (step.words.empty())
                continue;
            if (step.words.size() == 1 && step.words[0] == "end")
                return rows;
            ListRow row;
            for (const std::string& cell : step.words)
                row.push_back(Utf8ToWide(cell));
            rows.push_back(row);
        }
        throw StepFailure{"rows without end"};
    }

    static std::string DescribeRows(const std::vector<ListRow>& rows)
    {
        std::string text = std::to_string(rows.size()) + " rows:";
        for (const ListRow& row : rows) {
            text += "\n   ";
            for (const std::wstring& cell : row)
                text += " " + Visible(cell);
        }
        return text;
    }

    void StepRows(const Words& words)
    {
        HWND list = Control(words, 1);
        int columns = Number(words, 2);
        std::vector<ListRow> expected = ReadExpectedRows();
        for (const ListRow& row : expected) {
            if (row.size() != static_cast<size_t>(columns))
                throw StepFailure{"an expected row has " + std::to_string(row.size()) + " cells"};
        }
        std::vector<ListRow> rows;
        if (Recording()) {
            if (!ReadListRows(list, columns, rows))
                throw StepFailure{"cannot read list " + words[1]};
            std::cerr << "RECORD rows " << words[1] << " " << columns << "\n";
            for (const ListRow& row : rows) {
                std::cerr << "RECORD ";
                for (const std::wstring& cell : row)
                    std::cerr << " " << Quoted(cell);
                std::cerr << "\n";
            }
            std::cerr << "RECORD end\n";
            return;
        }
        WaitUntil([&] { return CountListColumns(list) == columns && ReadListRows(list, columns, rows) && rows == expected; },
                  [&] { return std::to_string(CountListColumns(list)) + " columns, " + DescribeRows(rows); },
                  "list " + words[1] + " to hold " + DescribeRows(expected));
    }

    void StepRowCount(const Words& words)
    {
        HWND list = Control(words, 1);
        int expected = Number(words, 2);
        DWORD_PTR count = 0;
        WaitUntil(
            [&] {
                return ::SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count)
                       && static_cast<int>(count) == expected;
            },
            [&] { return std::to_string(static_cast<int>(count)) + " rows"; }, "list with " + words[2] + " rows");
    }

    void StepHeader(const Words& words)
    {
        if (!ClickListHeader(Control(words, 1), Number(words, 2)))
            throw StepFailure{"could not click header item " + words[2]};
    }

    // A script path as a full Windows path.
    std::wstring ResolvePath(const std::string& path) const
    {
        std::string windows = path.rfind("@/", 0) == 0 ? m_scriptDirectory + "/" + path.substr(2) : path;
        if (!windows.empty() && windows[0] == '/')
            windows = "Z:" + windows;
        for (char& c : windows)
            c = c == '/' ? '\\' : c;
        std::wstring wide = Utf8ToWide(windows);
        wchar_t full[MAX_PATH]{};
        DWORD length = ::GetFullPathNameW(wide.c_str(), MAX_PATH, full, nullptr);
        if (length == 0 || length >= MAX_PATH)
            throw StepFailure{"bad path " + path};
        return full;
    }

    static bool ReadFileBytes(const std::wstring& path, std::string& bytes)
    {
        FILE* file = ::_wfopen(path.c_str(), L"rb");
        if (file == nullptr)
            return false;
        bytes.clear();
        char buffer[4096];
        size_t count = 0;
        while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.append(buffer, count);
        std::fclose(file);
        return true;
    }

    void StepSameFile(const Words& words)
    {
        std::wstring path = ResolvePath(Word(words, 1));
        if (Recording()) {
            std::string bytes;
            WaitUntil([&] { return ReadFileBytes(path, bytes); }, [] { return std::string("missing"); }, words[1]);
            if (!::CopyFileW(path.c_str(), ResolvePath(Word(words, 2)).c_str(), FALSE))
                throw StepFailure{"cannot copy to " + words[2]};
            return;
        }
        std::string golden;
        if (!ReadFileBytes(ResolvePath(Word(words, 2)), golden))
            throw StepFailure{"cannot read " + words[2]};
        std::string bytes;
        bool exists = false;
        WaitUntil([&] { return (exists = ReadFileBytes(path, bytes)) && bytes == golden; },
                  [&] {
                      if (!exists)
                          return std::string("missing");
                      size_t at = 0;
                      while (at < bytes.size() && at < golden.size() && bytes[at] == golden[at])
                          ++at;
                      return std::to_string(bytes.size()) + " bytes, first difference at byte " + std::to_string(at);
                  },
                  words[1] + " to equal " + words[2] + " (" + std::to_string(golden.size()) + " bytes)");
    }

    static BOOL CALLBACK FindEdit(HWND window, LPARAM param)
    {
        wchar_t name[16]{};
        ::GetClassNameW(window, name, 16);
        if (std::wstring(name) != L"Edit")
            return TRUE;
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }

    void StepSaveAs(const Words& words)
    {
        std::wstring wide = ResolvePath(Word(words, 1));
        HWND dialog = WaitForWindow("Save As");
        // The file name box: an edit (edt1), or the edit somewhere inside
        // the file name combo (cmb13).
        HWND name = ::GetDlgItem(dialog, 0x480);
        if (name == nullptr) {
            HWND combo = ::GetDlgItem(dialog, 0x47c);
            if (combo != nullptr)
                ::EnumChildWindows(combo, FindEdit, reinterpret_cast<LPARAM>(&name));
        }
        if (name == nullptr)
            throw StepFailure{"no file name box in the save dialog\n" + WideToUtf8(DescribeChildren(dialog))};
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()), SMTO_ABORTIFHUNG, 5000,
                              &ignored);
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
        WaitUntil([&] { return !::IsWindow(dialog); }, [] { return std::string("open"); }, "the save dialog to close");
    }

    static BOOL CALLBACK NoteUpdatePending(HWND window, LPARAM param)
    {
        if (::GetUpdateRect(window, nullptr, FALSE))
            *reinterpret_cast<bool*>(param) = true;
        return TRUE;
    }

    // True when neither the window nor any of its controls waits for painting.
    static bool IsPainted(HWND window)
    {
        bool pending = ::GetUpdateRect(window, nullptr, FALSE) != FALSE;
        ::EnumChildWindows(window, NoteUpdatePending, reinterpret_cast<LPARAM>(&pending));
        return !pending;
    }

    // Lets the windows in the picture finish painting. A picture taken a
    // little early is only a worse picture: no check depends on it.
    void SettleBeforeShot(const std::vector<HWND>& windows) const
    {
        for (HWND window : windows) {
            auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (!IsPainted(window) && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(300)); // the display server catches up
    }

    void StepShot(const Words& words)
    {
        std::vector<HWND> windows{Current()};
        if (words.size() > 2)
            windows.push_back(WaitForWindow(words[2]));
        SettleBeforeShot(windows);
        RECT rect{};
        ::GetWindowRect(Current(), &rect);
        if (windows.size() > 1) {
            RECT other{};
            ::GetWindowRect(windows[1], &other);
            ::UnionRect(&rect, &rect, &other);
        }
        RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
        ::IntersectRect(&rect, &rect, &screen);
        std::cout << "SHOT " << Word(words, 1) << " " << rect.left << " " << rect.top << " "
                  << rect.right - rect.left << " " << rect.bottom - rect.top << std::endl;
        std::string answer;
        if (!std::getline(std::cin, answer) || (answer != "taken" && answer != "taken\r"))
            throw StepFailure{"the controller took no screenshot"};
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: velmora-driver SCRIPT\n";
        return 2;
    }
    std::ifstream script(argv[1]);
    if (!script) {
        std::cerr << "velmora-driver: cannot read " << argv[1] << "\n";
        return 2;
    }
    std::string directory = argv[1];
    size_t slash = directory.find_last_of("/\\");
    directory = slash == std::string::npos ? std::string(".") : directory.substr(0, slash);
    return Driver(script, directory).Run();
}
