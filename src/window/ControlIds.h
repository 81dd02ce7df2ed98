#pragma once

// The dialog templates (res/dialogs/<id>.dlg) and the ids of their controls. The build checks
// every IDD_ id against its template's dialog line, and every IDC_ id against each template
// named on its enum's line ("// in <id>.dlg ..."): it must be a control of that template.
enum EDialogTemplate {
    IDD_MAIN = 102,
    IDD_ABOUT = 130,
    IDD_LANGUAGE = 133,
    IDD_SERVERS = 134,
    IDD_ADD_SERVER = 135,
    IDD_UPDATE = 136,
    IDD_DETAILS = 137,
    IDD_SERVER_ADDRESS = 138,
};

// Every dialog's OK button, and Cancel where a dialog has one.
enum EDialogButton { // in 102.dlg 130.dlg 133.dlg 134.dlg 135.dlg 136.dlg 137.dlg 138.dlg
    IDC_OK = 1,
};

enum EDialogCancelButton { // in 102.dlg 133.dlg 134.dlg 135.dlg 137.dlg 138.dlg
    IDC_CANCEL = 2,
};

// The main window.
enum EMainWindowControl { // in 102.dlg
    IDC_CALCULATE = 1,
    IDC_CLOSE = 2,
    IDC_INPUT = 1000,
    IDC_REPORT = 1001,
    IDC_SERVERS = 1002,
    IDC_DATE = 1003,
    IDC_DOWNLOAD = 1004,
    IDC_DOWNLOAD_ALL = 1006,
    IDC_SERVER_LABEL = 1010,
    IDC_MARKET_DATE = 1011,
    IDC_PRICE_LIST = 1012,
    IDC_LOAD_SERVER_LIST = 1013,
    IDC_TOGGLE_PANE = 1014,
    IDC_MAX_FARM = 1016,
    IDC_SELECT_SERVERS = 1018,
    IDC_LOCKED = 1020,
    IDC_DETAILS = 1030,
    IDC_LINK = 1031,
};

// The main window's menu commands (the system menu on Windows, the context menu elsewhere).
enum EMainWindowCommand {
    IDM_ABOUT = 0x0010,
    IDM_LANGUAGE = 0x0020,
    IDM_IMPORT = 0x0030,
    IDM_WATCH_CLIPBOARD = 0x0040,
    IDM_PASTE_PRICES = 0x0050,
    IDM_EXPORT_PRICES = 0x0060,
};

// About and the new-version notice, which is the About box with an announcement.
enum EAboutControl { // in 130.dlg 136.dlg
    IDC_ABOUT_VERSION = 1023,
    IDC_ABOUT_LINK = 1019,
};

enum EAboutOnlyControl { // in 130.dlg
    IDC_ABOUT_SUBTITLE = 1024,
    IDC_ABOUT_LICENCE = 1027,
};

enum EUpdateControl { // in 136.dlg
    IDC_UPDATE_NOTICE = 1025,
};

// The language choice.
enum ELanguageControl { // in 133.dlg
    IDC_LANGUAGE_LIST = 1009,
};

// Server selection.
enum EServerControl { // in 134.dlg
    IDC_SERVER_LIST = 1002,
    IDC_SERVER_ADD = 1021,
    IDC_SERVER_ADDRESS = 1022,
};

// Adding a server by hand.
enum EAddServerControl { // in 135.dlg
    IDC_ADD_SERVER_NAME = 1002,
    IDC_ADD_SERVER_LABEL = 1003,
    IDC_ADD_SERVER_ADDRESS_LABEL = 1004,
};

// A price list's address: asked when a server is added, changed in the server selection.
enum EAddressControl { // in 135.dlg 138.dlg
    IDC_ADDRESS = 1005,
};

enum EServerAddressControl { // in 138.dlg
    IDC_ADDRESS_LABEL = 1003,
};

// Details.
enum EDetailsControl { // in 137.dlg
    IDC_DETAILS_LEVEL_LABEL = 1026,
    IDC_DETAILS_LEVELS = 1027,
    IDC_DETAILS_ORIGIN_LABEL = 1028,
    IDC_DETAILS_ORIGINS = 1029,
};
