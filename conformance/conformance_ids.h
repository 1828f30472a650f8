// The identifiers of the conformance program's resources.
#pragma once

#define IDD_OUTER 100
#define IDD_INNER 101
#define IDC_NAME 1001
#define IDC_APPLY 1002
#define IDC_NOTE 1003
