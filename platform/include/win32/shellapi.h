// Shell execution of the Win32 / Windows CE subset: starting a program, a web address or a mail
// address the way the platform's shell does, with the platform's own structure and codes.
//
// On our layer a start maps to a host action, always with an argument vector and never through a
// command interpreter: a device program's path starts the host program at that place of the
// device file system, the browser ("iexplore.exe", or an http/https address given as the file)
// opens the host's browser, the mail program ("tmail.exe", or a "mailto:" address) the host's
// mailer. Web addresses other than http and https are refused with ERROR_ACCESS_DENIED. A
// headless run writes each start to the journal and starts nothing.
#pragma once

#include "win32/types.h"

// Results of ShellExecuteA at or below 32 are these failure codes.
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_SHARE 26
#define SE_ERR_ASSOCINCOMPLETE 27
#define SE_ERR_DDETIMEOUT 28
#define SE_ERR_DDEFAIL 29
#define SE_ERR_DDEBUSY 30
#define SE_ERR_NOASSOC 31
#define SE_ERR_DLLNOTFOUND 32

#define SEE_MASK_CLASSNAME 0x00000001
#define SEE_MASK_CLASSKEY 0x00000003
#define SEE_MASK_IDLIST 0x00000004
#define SEE_MASK_NOCLOSEPROCESS 0x00000040
#define SEE_MASK_CONNECTNETDRV 0x00000080
#define SEE_MASK_FLAG_DDEWAIT 0x00000100
#define SEE_MASK_FLAG_NO_UI 0x00000400

// The device's layout. There is no registry, so hkeyClass is a plain handle; hProcess is always
// null (a host process is not a handle of the device), even with SEE_MASK_NOCLOSEPROCESS.
typedef struct _SHELLEXECUTEINFOW {
    DWORD cbSize;
    ULONG fMask;
    HWND hwnd;
    LPCWSTR lpVerb;
    LPCWSTR lpFile;
    LPCWSTR lpParameters;
    LPCWSTR lpDirectory;
    int nShow;
    HINSTANCE hInstApp;
    LPVOID lpIDList;
    LPCWSTR lpClass;
    HANDLE hkeyClass;
    DWORD dwHotKey;
    HANDLE hIcon;
    HANDLE hProcess;
} SHELLEXECUTEINFOW, *LPSHELLEXECUTEINFOW;

// Verbs: null and "open" (case-insensitively); any other gives SE_ERR_NOASSOC. Texts are code
// page 1251. A result above 32 is success.
HINSTANCE WINAPI ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                               LPCSTR lpDirectory, INT nShowCmd);
// FALSE with the last error set (and hInstApp holding the SE_ERR_* code) when nothing started.
// A cbSize other than sizeof(SHELLEXECUTEINFOW) gives ERROR_INVALID_PARAMETER.
BOOL WINAPI ShellExecuteExW(LPSHELLEXECUTEINFOW lpExecInfo);
