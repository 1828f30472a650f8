/* Identifiers of Vantory's resources and commands, shared by the resource script and the
   program. Plain #defines only: the resource compiler reads this file too. */
#ifndef VANTORY_LAUNCHER_IDS_H
#define VANTORY_LAUNCHER_IDS_H

#define IDS_APP_TITLE 103
#define IDS_WINDOW_CLASS 109

#define IDD_ABOUTBOX 103
#define IDM_ABOUT 104
#define IDM_EXIT 105

#define IDI_VANTORY 107
#define IDI_SMALL 108

#define IDC_VANTORY 109

#define IDB_NEXT_LIT 130
#define IDB_MOSCOW_LIT 131
#define IDB_NEXT 132
#define IDB_MOSCOW 133
#define IDB_PETERSBURG 134
#define IDB_BOTH 135
#define IDB_BOTH_LIT 136
#define IDB_PETERSBURG_LIT 137
#define IDB_BACKGROUND 139

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#endif
