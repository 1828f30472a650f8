#include "conformance/record.h"

#include <cstdarg>
#include <cstdio>
#include <map>

namespace conformance {

namespace {

bool recordingOn = true;
HINSTANCE instanceHandle = nullptr;
Answer currentAnswer;
std::map<HWND, std::string> labels;
std::map<HWND, WNDPROC> replacedProcedures;
// The label of the frame being created, given to it at its first message.
std::string pendingFrameLabel;

LRESULT CALLBACK frameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!pendingFrameLabel.empty() && labels.find(window) == labels.end()) {
        labels[window] = pendingFrameLabel;
        pendingFrameLabel.clear();
    }
    if (recordingOn) {
        std::string line = describeMessage(window, message, wParam, lParam);
        if (!line.empty())
            fact("%s: %s", windowLabel(window).c_str(), line.c_str());
    }
    LRESULT result = 0;
    if (currentAnswer && currentAnswer(window, message, wParam, lParam, result))
        return result;
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK watchingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto found = replacedProcedures.find(window);
    if (found == replacedProcedures.end())
        return DefWindowProcW(window, message, wParam, lParam);
    WNDPROC original = found->second;
    if (recordingOn && message != WM_NOTIFY && message != WM_COMMAND) {
        std::string line = describeMessage(window, message, wParam, lParam);
        if (!line.empty())
            fact("%s: %s", windowLabel(window).c_str(), line.c_str());
    }
    if (message == WM_NCDESTROY)
        replacedProcedures.erase(found);
    return CallWindowProcW(original, window, message, wParam, lParam);
}

void appendUtf8(std::string& out, unsigned codePoint)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

} // namespace

const WCHAR frameClassName[] = CW("ConformanceFrame");

void fact(const char* format, ...)
{
    if (!recordingOn)
        return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stdout, format, arguments);
    va_end(arguments);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void beginCase(const char* name)
{
    pumpQuietly();
    setRecording(true);
    std::printf("case %s\n", name);
    std::fflush(stdout);
}

void setRecording(bool on)
{
    recordingOn = on;
}

bool recording()
{
    return recordingOn;
}

std::string utf8(const WCHAR* text)
{
    std::string out;
    if (text == nullptr)
        return "(null)";
    for (size_t i = 0; text[i] != 0; ++i) {
        unsigned unit = static_cast<unsigned>(text[i]) & 0xFFFF;
        if (unit >= 0xD800 && unit < 0xDC00 && text[i + 1] != 0) {
            unsigned low = static_cast<unsigned>(text[i + 1]) & 0xFFFF;
            if (low >= 0xDC00 && low < 0xE000) {
                appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        appendUtf8(out, unit);
    }
    return out;
}

std::string windowText(HWND window)
{
    WCHAR text[256] = {};
    GetWindowTextW(window, text, 256);
    return utf8(text);
}

void nameWindow(HWND window, const char* label)
{
    labels[window] = label;
}

std::string windowLabel(HWND window)
{
    if (window == nullptr)
        return "none";
    auto found = labels.find(window);
    if (found != labels.end())
        return found->second;
    WCHAR className[64] = {};
    if (!IsWindow(window) || GetClassNameW(window, className, 64) == 0)
        return "gone";
    return "(" + utf8(className) + ")";
}

void setAnswer(Answer answer)
{
    currentAnswer = std::move(answer);
}

bool registerFrameClass(HINSTANCE instance)
{
    instanceHandle = instance;
    WNDCLASSW frameClass = {};
    frameClass.lpfnWndProc = frameProcedure;
    frameClass.hInstance = instance;
    frameClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    frameClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    frameClass.lpszClassName = frameClassName;
    return RegisterClassW(&frameClass) != 0;
}

HINSTANCE programInstance()
{
    return instanceHandle;
}

HWND createFrame(const char* label, DWORD style, int x, int y, int width, int height, HWND owner)
{
    // Named before creation so that the creation messages carry the label.
    pendingFrameLabel = label;
    HWND window = CreateWindowExW(0, frameClassName, CW(""), style, x, y, width, height, owner, nullptr,
                                  instanceHandle, nullptr);
    pendingFrameLabel.clear();
    if (window != nullptr)
        nameWindow(window, label);
    return window;
}

HWND createChild(const char* label, const WCHAR* className, const WCHAR* text, DWORD style, int x, int y,
                 int width, int height, HWND parent, int id)
{
    HWND window = CreateWindowExW(0, className, text, style | WS_CHILD, x, y, width, height, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instanceHandle, nullptr);
    if (window != nullptr)
        nameWindow(window, label);
    return window;
}

void watchControl(HWND control)
{
    WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongW(control, GWL_WNDPROC));
    replacedProcedures[control] = original;
    SetWindowLongW(control, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(watchingProcedure));
}

HFONT caseFont()
{
    static HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, CW("Tahoma"));
    return font;
}

void useCaseFont(HWND control)
{
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(caseFont()), FALSE);
}

void tap(HWND control, int x, int y)
{
    // The release is queued first: a control that follows the stylus in a loop of its own
    // (a scroll bar, a tree view watching for a drag) finds it there, as it would a real one.
    LPARAM point = MAKELPARAM(x, y);
    PostMessageW(control, WM_LBUTTONUP, 0, point);
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, point);
    pump();
}

void pressKey(HWND control, WPARAM key)
{
    SendMessageW(control, WM_KEYDOWN, key, 1);
    SendMessageW(control, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

void typeCharacter(HWND control, WCHAR character)
{
    SendMessageW(control, WM_CHAR, static_cast<WPARAM>(character), 1);
}

void pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            fact("loop: WM_QUIT %d", static_cast<int>(message.wParam));
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

long send(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    return static_cast<long>(SendMessageW(control, message, wParam, lParam));
}

LPARAM text(const WCHAR* value)
{
    return reinterpret_cast<LPARAM>(value);
}

void discardWindow(HWND window)
{
    bool was = recordingOn;
    recordingOn = false;
    DestroyWindow(window);
    pump();
    recordingOn = was;
}

void pumpQuietly()
{
    bool was = recordingOn;
    recordingOn = false;
    pump();
    recordingOn = was;
}

} // namespace conformance
