/* Identifiers of Dernolo's resources, commands and private messages, shared by the resource script
   and the program. Plain #defines only: the resource compiler reads this file too. */
#ifndef DERNOLO_IDS_H
#define DERNOLO_IDS_H

#define IDS_DERNOLO_TITLE 1
#define IDS_DERNOLO_CLASS 2

#define IDI_DERNOLO 6
#define IDR_DERNOLO_ACCELERATORS 2

/* Commands of the main window. */
#define IDM_EDIT_FAVOURITES 2002
#define IDM_CLEAR_FAVOURITES 2003
#define IDM_EXIT_PROGRAM 2009
#define IDM_ABOUT_MAKER 2011
#define IDM_ADD_FAVOURITE 2012

/* Dialog templates of the screens. */
#define IDD_RUBRIC_TREE 102
#define IDD_ABOUT_MAKER 105
#define IDD_FIRM_LIST 131
#define IDD_BUSINESS_CARD 132
#define IDD_SEARCH 134
#define IDD_WHITE_PAGES 135
#define IDD_METRO 141

/* The rubric tree's control (102). */
#define IDC_RUBRIC_TREE 1003

/* Controls of the firm list (131) and the white pages (135). */
#define IDC_FIRM_LIST 1004
#define IDC_LETTER_INDEX 1029
#define IDC_LETTER_FIRMS 1030

/* Controls of the search (134). */
#define IDC_SEARCH_NAME 1015
#define IDC_SEARCH_STREET 1016
#define IDC_SEARCH_PHONE 1017
#define IDC_SEARCH_RUN 1018
#define IDC_SEARCH_RESULTS 1019
#define IDC_SEARCH_MODE 1020
#define IDC_SEARCH_STREET_LABEL 1021
#define IDC_SEARCH_PHONE_LABEL 1022
#define IDC_SEARCH_CLEAR 1031
#define IDC_SEARCH_PANEL 1036
#define IDC_SEARCH_THEME 1037
#define IDC_SEARCH_CHOOSE_THEME 1052

/* Tile icons (32 x 32 unless noted). */
#define IDI_TILE_CATALOGUE 157 /* 32 x 26 */
#define IDI_TILE_RUBRICS 166
#define IDI_TILE_METRO 175
#define IDI_TILE_SEARCH 178
#define IDI_TILE_THEMES 193
#define IDI_TILE_FAVOURITES 194
#define IDI_TILE_BRIDGES 196
#define IDI_TILE_EXACT_TIME 212
#define IDI_TILE_POLICE 213
#define IDI_TILE_AMBULANCE 214
#define IDI_TILE_GAS 215
#define IDI_TILE_ENQUIRIES 216
#define IDI_TILE_BANNER 230 /* 168 x 14 */
#define IDI_TILE_RESCUE 245
#define IDI_TILE_PARTNER 250 /* 52 x 51 */
#define IDI_TILE_TELEPHONES 252 /* 32 x 26 */
#define IDI_TILE_CLEAR 258 /* 24 x 24 */
#define IDI_TILE_ADD 260 /* 24 x 24 */
#define IDI_TILE_EDIT 263 /* 24 x 24 */

/* The second city's pictures. */
#define IDI_VARIANT_FINES 271
#define IDI_VARIANT_EXACT_TIME 273
#define IDI_VARIANT_PARTNER 281
#define IDB_FAVOURITE_SLOT 270 /* 119 x 35 */

/* Button bar icons; each is also its button's action code. */
#define IDI_BAR_FORWARD 184
#define IDI_BAR_BACK 185
#define IDI_BAR_HELP 187
#define IDI_BAR_EXIT 188
#define IDI_BAR_HOME 189
#define IDI_BAR_KEYBOARD 190
#define IDI_BAR_MAKER 218
#define IDI_BAR_CHANGE_M 275
#define IDI_BAR_CHANGE 276

/* The business card's controls and its button pictures (59 x 20; the address 59 x 37). */
#define IDC_CARD_LIST 1001
#define IDC_CARD_NAME 1005
#define IDC_CARD_ADDRESS_ICON 1006
#define IDC_CARD_ADDRESS 1007
#define IDC_CARD_WEB 1009
#define IDC_CARD_EMAIL 1011
#define IDC_CARD_TELEPHONES 1012
#define IDC_CARD_LIST_LABEL 1013
#define IDC_CARD_DIAL 1031
#define IDC_CARD_WEB_BUTTON 1039
#define IDC_CARD_EMAIL_BUTTON 1040
#define IDI_CARD_ADDRESS 244
#define IDI_CARD_WEB_PRESSED 293
#define IDI_CARD_DIAL 296
#define IDI_CARD_DIAL_PRESSED 297
#define IDI_CARD_WEB 298
#define IDI_CARD_EMAIL_PRESSED 299
#define IDI_CARD_EMAIL 300

#endif
