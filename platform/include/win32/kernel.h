// Kernel services of the Win32 / Windows CE subset: last error and its texts, the device file
// system, memory, code pages, message boxes, resources, libraries, time and named mutexes.
//
// The device is single-threaded as far as the programs are concerned: every call is expected on
// the user-interface thread. Deviations from the platform are noted at each API.
#pragma once

#include "win32/types.h"
#include <cstdarg>

// ---------------------------------------------------------------------------------------------
// Error numbers (the platform's own values)

#define ERROR_SUCCESS 0L
#define NO_ERROR 0L
#define ERROR_INVALID_FUNCTION 1L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_TOO_MANY_OPEN_FILES 4L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_INVALID_DATA 13L
#define ERROR_OUTOFMEMORY 14L
#define ERROR_NO_MORE_FILES 18L
#define ERROR_SEEK 25L
#define ERROR_WRITE_FAULT 29L
#define ERROR_READ_FAULT 30L
#define ERROR_GEN_FAILURE 31L
#define ERROR_SHARING_VIOLATION 32L
#define ERROR_HANDLE_EOF 38L
#define ERROR_NOT_SUPPORTED 50L
#define ERROR_FILE_EXISTS 80L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_DISK_FULL 112L
#define ERROR_CALL_NOT_IMPLEMENTED 120L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_INVALID_NAME 123L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_PROC_NOT_FOUND 127L
#define ERROR_NEGATIVE_SEEK 131L
#define ERROR_DIR_NOT_EMPTY 145L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_FILENAME_EXCED_RANGE 206L
#define ERROR_DIRECTORY 267L
#define ERROR_NOT_OWNER 288L
#define ERROR_MR_MID_NOT_FOUND 317L
#define ERROR_INVALID_FLAGS 1004L
#define ERROR_NO_UNICODE_TRANSLATION 1113L
#define ERROR_RESOURCE_DATA_NOT_FOUND 1812L
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813L
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L

// The last error is kept per thread, as on the platform.
DWORD WINAPI GetLastError(void);
void WINAPI SetLastError(DWORD dwErrCode);

// ---------------------------------------------------------------------------------------------
// Message texts

#define FORMAT_MESSAGE_ALLOCATE_BUFFER 0x00000100
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define FORMAT_MESSAGE_FROM_STRING 0x00000400
#define FORMAT_MESSAGE_FROM_HMODULE 0x00000800
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000
#define FORMAT_MESSAGE_ARGUMENT_ARRAY 0x00002000
#define FORMAT_MESSAGE_MAX_WIDTH_MASK 0x000000FF

#define LANG_NEUTRAL 0x00
#define LANG_RUSSIAN 0x19
#define SUBLANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01
#define MAKELANGID(p, s) ((((WORD)(s)) << 10) | (WORD)(p))

// Only FORMAT_MESSAGE_FROM_SYSTEM is supported. The texts are Russian whatever the language
// asked for, and end with "\r\n" like the platform's system texts. They carry no inserts, so
// Arguments is never read. With FORMAT_MESSAGE_ALLOCATE_BUFFER, lpBuffer is really an LPWSTR*
// that receives a block to be freed with LocalFree. An unknown number gives 0 and
// ERROR_MR_MID_NOT_FOUND.
DWORD WINAPI FormatMessageW(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId,
                            LPWSTR lpBuffer, DWORD nSize, va_list* Arguments);

// ---------------------------------------------------------------------------------------------
// Files

#define MAX_PATH 260

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define GENERIC_EXECUTE 0x20000000u
#define GENERIC_ALL 0x10000000u

#define FILE_SHARE_READ 0x00000001
#define FILE_SHARE_WRITE 0x00000002
#define FILE_SHARE_DELETE 0x00000004

#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5

#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_SYSTEM 0x00000004
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define FILE_ATTRIBUTE_TEMPORARY 0x00000100

#define FILE_FLAG_WRITE_THROUGH 0x80000000u
#define FILE_FLAG_RANDOM_ACCESS 0x10000000u
#define FILE_FLAG_SEQUENTIAL_SCAN 0x08000000u

#define FILE_BEGIN 0
#define FILE_CURRENT 1
#define FILE_END 2

#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)
#define INVALID_SET_FILE_POINTER ((DWORD)-1)
#define INVALID_FILE_SIZE ((DWORD)0xFFFFFFFF)
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)

typedef struct _SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *PSECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

typedef struct _OVERLAPPED {
    ULONG_PTR Internal;
    ULONG_PTR InternalHigh;
    DWORD Offset;
    DWORD OffsetHigh;
    HANDLE hEvent;
} OVERLAPPED, *LPOVERLAPPED;

typedef struct _FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
} FILETIME, *PFILETIME, *LPFILETIME;

// The device's layout (with the object store identifier, without the short name).
typedef struct _WIN32_FIND_DATAW {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwOID;
    WCHAR cFileName[MAX_PATH];
} WIN32_FIND_DATAW, *PWIN32_FIND_DATAW, *LPWIN32_FIND_DATAW;
static_assert(sizeof(WIN32_FIND_DATAW) == 560, "device layout of WIN32_FIND_DATAW");

// Paths are device paths: "\" is the device root (a host folder chosen at start-up), "/" is
// taken as "\", a path without a leading backslash is taken from the root (the device has no
// current directory), and each component is matched case-insensitively. "." is ignored and ".."
// at the root stays at the root, as on the platform; no path reaches outside the root, and
// host symbolic links that lead outside it are refused with ERROR_ACCESS_DENIED.
//
// Share modes are enforced between open handles of one file. A host file without write
// permission counts as read-only (FILE_ATTRIBUTE_READONLY): opening it for writing gives
// ERROR_ACCESS_DENIED. Overlapped I/O is not supported (ERROR_INVALID_PARAMETER), as on the
// device. Opening a folder gives ERROR_ACCESS_DENIED.
HANDLE WINAPI CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                          LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                          DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                     LPOVERLAPPED lpOverlapped);
BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
                      LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped);
// Files are limited to 4 GB less one byte, as on the device. On success the last error is set
// to NO_ERROR, so that a position of 0xFFFFFFFF can be told from a failure.
DWORD WINAPI SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh, DWORD dwMoveMethod);
// On success the last error is set to NO_ERROR (see SetFilePointer).
DWORD WINAPI GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh);
BOOL WINAPI SetEndOfFile(HANDLE hFile);
BOOL WINAPI FlushFileBuffers(HANDLE hFile);
BOOL WINAPI CloseHandle(HANDLE hObject);
BOOL WINAPI DeleteFileW(LPCWSTR lpFileName);
BOOL WINAPI CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes);
BOOL WINAPI RemoveDirectoryW(LPCWSTR lpPathName);
DWORD WINAPI GetFileAttributesW(LPCWSTR lpFileName);

// Wildcards "*" and "?" in the last component only; "*.*" matches every name, with or without a
// dot. Entries come sorted by name (case-insensitively), "." and ".." are never listed, and the
// listing is taken when FindFirstFileW is called. Host names that are not valid UTF-8 or do not
// fit in cFileName are left out, and so are host links leading outside the device. No match, or
// a path ending in a backslash, gives ERROR_FILE_NOT_FOUND; a missing folder ERROR_PATH_NOT_FOUND.
HANDLE WINAPI FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData);
BOOL WINAPI FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData);
BOOL WINAPI FindClose(HANDLE hFindFile);

// ---------------------------------------------------------------------------------------------
// Memory

#define LMEM_FIXED 0x0000
#define LMEM_MOVEABLE 0x0002
#define LMEM_ZEROINIT 0x0040
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)

// Fixed blocks only (LMEM_MOVEABLE is refused by LocalAlloc with ERROR_INVALID_PARAMETER, as on
// the device). The usable size is the request rounded up to 16 bytes (at least 16); LocalSize
// reports it. LocalReAlloc moves a block only when LMEM_MOVEABLE is given. A pointer that is not
// a live block gives ERROR_INVALID_HANDLE.
HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes);
HLOCAL WINAPI LocalReAlloc(HLOCAL hMem, SIZE_T uBytes, UINT uFlags);
SIZE_T WINAPI LocalSize(HLOCAL hMem);
HLOCAL WINAPI LocalFree(HLOCAL hMem);

typedef struct _MEMORYSTATUS {
    DWORD dwLength;
    DWORD dwMemoryLoad;
    DWORD dwTotalPhys;
    DWORD dwAvailPhys;
    DWORD dwTotalPageFile;
    DWORD dwAvailPageFile;
    DWORD dwTotalVirtual;
    DWORD dwAvailVirtual;
} MEMORYSTATUS, *LPMEMORYSTATUS;
static_assert(sizeof(MEMORYSTATUS) == 32, "device layout of MEMORYSTATUS");

// Physical memory is the host's (MemTotal / MemAvailable, capped to 32 bits) unless the device
// profile sets a figure. There is no page file. The virtual figures are those of a device
// process slot (32 MB).
void WINAPI GlobalMemoryStatus(LPMEMORYSTATUS lpBuffer);

// ---------------------------------------------------------------------------------------------
// Code pages

#define CP_ACP 0
#define CP_OEMCP 1
#define CP_MACCP 2
#define CP_THREAD_ACP 3
#define CP_UTF7 65000
#define CP_UTF8 65001

#define MB_PRECOMPOSED 0x00000001
#define MB_COMPOSITE 0x00000002
#define MB_USEGLYPHCHARS 0x00000004
#define MB_ERR_INVALID_CHARS 0x00000008

#define WC_DISCARDNS 0x00000010
#define WC_SEPCHARS 0x00000020
#define WC_DEFAULTCHAR 0x00000040
#define WC_ERR_INVALID_CHARS 0x00000080
#define WC_COMPOSITECHECK 0x00000200
#define WC_NO_BEST_FIT_CHARS 0x00000400

// The ANSI code page of the device is 1251: CP_ACP and CP_THREAD_ACP mean 1251. Supported:
// 1251 and CP_UTF8; others give ERROR_INVALID_PARAMETER. Byte 0x98, unassigned in 1251, maps to
// U+0098 and back. Converting to 1251 puts the default character ('?' unless lpDefaultChar
// gives one) for every UTF-16 unit without a 1251 byte; there is no best-fit mapping. Invalid
// UTF-8 becomes U+FFFD (or fails with ERROR_NO_UNICODE_TRANSLATION under MB_ERR_INVALID_CHARS);
// an unpaired surrogate becomes U+FFFD in UTF-8 (or fails under WC_ERR_INVALID_CHARS).
// A buffer that is too small is filled as far as it goes, then 0 and ERROR_INSUFFICIENT_BUFFER.
int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                               LPWSTR lpWideCharStr, int cchWideChar);
int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                               LPBOOL lpUsedDefaultChar);
UINT WINAPI GetACP(void);

// ---------------------------------------------------------------------------------------------
// Message boxes. The box itself is drawn by the window manager, which installs itself as the
// handler; with none installed (command-line tools), the box is one line "CAPTION: text" on
// standard error in UTF-8 and the default button is the answer.

#define MB_OK 0x00000000
#define MB_OKCANCEL 0x00000001
#define MB_ABORTRETRYIGNORE 0x00000002
#define MB_YESNOCANCEL 0x00000003
#define MB_YESNO 0x00000004
#define MB_RETRYCANCEL 0x00000005
#define MB_TYPEMASK 0x0000000F

#define MB_ICONHAND 0x00000010
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONQUESTION 0x00000020
#define MB_ICONEXCLAMATION 0x00000030
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONASTERISK 0x00000040
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_ICONMASK 0x000000F0

#define MB_DEFBUTTON1 0x00000000
#define MB_DEFBUTTON2 0x00000100
#define MB_DEFBUTTON3 0x00000200
#define MB_DEFMASK 0x00000F00

#define MB_APPLMODAL 0x00000000
#define MB_SYSTEMMODAL 0x00001000
#define MB_TASKMODAL 0x00002000
#define MB_SETFOREGROUND 0x00010000
#define MB_TOPMOST 0x00040000

#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

// A null caption is shown as "Ошибка", the platform's default.
int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType);
// Text and caption are code page 1251.
int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);

// ---------------------------------------------------------------------------------------------
// Resources, from the program's compiled-in table. Names may be integer identifiers
// (MAKEINTRESOURCE), strings (compared case-insensitively) or "#123" for identifier 123.

#define RT_CURSOR MAKEINTRESOURCEW(1)
#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_MENU MAKEINTRESOURCEW(4)
#define RT_DIALOG MAKEINTRESOURCEW(5)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_FONTDIR MAKEINTRESOURCEW(7)
#define RT_FONT MAKEINTRESOURCEW(8)
#define RT_ACCELERATOR MAKEINTRESOURCEW(9)
#define RT_RCDATA MAKEINTRESOURCEW(10)
#define RT_MESSAGETABLE MAKEINTRESOURCEW(11)
#define RT_GROUP_CURSOR MAKEINTRESOURCEW(12)
#define RT_GROUP_ICON MAKEINTRESOURCEW(14)
#define RT_VERSION MAKEINTRESOURCEW(16)
#define RT_HTML MAKEINTRESOURCEW(23)

// hModule is the program's instance or null; libraries carry no resources.
HRSRC WINAPI FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType);
HRSRC WINAPI FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType);
HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo);
LPVOID WINAPI LockResource(HGLOBAL hResData);
DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo);

// ---------------------------------------------------------------------------------------------
// Modules and libraries

typedef INT_PTR(WINAPI* FARPROC)(void);

// The device's libraries are registered by the device profile; a name matches with or without
// its folder and its ".dll", case-insensitively. Missing: null and ERROR_MOD_NOT_FOUND.
HMODULE WINAPI LoadLibraryW(LPCWSTR lpLibFileName);
BOOL WINAPI FreeLibrary(HMODULE hLibModule);
// As on the device, the export name is UTF-16; an ordinal (MAKEINTRESOURCE) is the 1-based
// position in the library's export list. The ANSI form is the desktop's.
FARPROC WINAPI GetProcAddressW(HMODULE hModule, LPCWSTR lpProcName);
FARPROC WINAPI GetProcAddressA(HMODULE hModule, LPCSTR lpProcName);
inline FARPROC GetProcAddress(HMODULE hModule, LPCWSTR lpProcName) { return GetProcAddressW(hModule, lpProcName); }
inline FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName) { return GetProcAddressA(hModule, lpProcName); }
// Null gives the program's instance.
HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName);
// A buffer that is too small receives the path cut to nSize - 1 characters and a terminator; the
// result is then nSize and the last error ERROR_INSUFFICIENT_BUFFER.
DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize);
// The desktop's ANSI form: the same path in code page 1251, cut the same way (bytes for characters).
DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize);

// ---------------------------------------------------------------------------------------------
// Time and synchronisation

void WINAPI Sleep(DWORD dwMilliseconds);
// Milliseconds since the program started.
DWORD WINAPI GetTickCount(void);

// Named mutexes are shared between host processes that use the same device root: a name already
// held, in this process or another, gives a handle and ERROR_ALREADY_EXISTS. Ownership is not
// waited for (there is one thread); bInitialOwner is accepted and ReleaseMutex only checks the
// handle.
typedef struct _PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
} PROCESS_INFORMATION, *PPROCESS_INFORMATION, *LPPROCESS_INFORMATION;
// The device takes no start-up information: psiStartInfo must be null.
typedef struct _STARTUPINFOW STARTUPINFOW, *LPSTARTUPINFOW;

// Starts a device program by its image name with a command line, carried out by the host
// services (browser, mail program, notes editor, programs of the device file system; see
// win32/shellapi.h). Deviation: a host process is not a handle of the device, so hProcess and
// hThread are null and the ids 0; the program is never waited for. With a null image name the
// first word of the command line is the image.
BOOL WINAPI CreateProcessW(LPCWSTR pszImageName, LPWSTR pszCmdLine, LPSECURITY_ATTRIBUTES psaProcess,
                           LPSECURITY_ATTRIBUTES psaThread, BOOL fInheritHandles, DWORD fdwCreate,
                           LPVOID pvEnvironment, LPWSTR pszCurDir, LPSTARTUPINFOW psiStartInfo,
                           LPPROCESS_INFORMATION pProcInfo);

HANDLE WINAPI CreateMutexW(LPSECURITY_ATTRIBUTES lpMutexAttributes, BOOL bInitialOwner, LPCWSTR lpName);
BOOL WINAPI ReleaseMutex(HANDLE hMutex);

// ---------------------------------------------------------------------------------------------
// Text functions of the device: the kernel's and the C run-time's

int WINAPI lstrlenW(LPCWSTR lpString);
// Copies with its terminator; the caller's buffer must hold it, as on the platform.
LPWSTR WINAPI lstrcpyW(LPWSTR lpString1, LPCWSTR lpString2);

// Compares at most `count` characters, letters of either case taken as equal (ASCII, Latin-1 and
// Cyrillic, as the device folds them): <0, 0 or >0.
int _wcsnicmp(const WCHAR* a, const WCHAR* b, size_t count);
