// The call request of a phone's telephone library ("phone.dll"). A program finds PhoneMakeCall with
// GetProcAddress, since only phones carry the library; the request's type is shared by the program
// and the library, so the call goes through the function's own type. Implemented by platform/host.
#pragma once

#include "win32.h"

#define PMCF_DEFAULT 0x00000001
#define PMCF_PROMPTBEFORECALLING 0x00000002

// 24 bytes on the device, where pointers are 32-bit.
typedef struct tagPHONEMAKECALLINFO {
    DWORD cbSize;
    DWORD dwFlags;
    PCWSTR pszDestAddress;
    PCWSTR pszAppName;
    PCWSTR pszCalledParty;
    PCWSTR pszComment;
} PHONEMAKECALLINFO, *PPHONEMAKECALLINFO;

// The type of the library's PhoneMakeCall export.
typedef LONG(WINAPI* PHONEMAKECALL)(PHONEMAKECALLINFO* ppmci);
