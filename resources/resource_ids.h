#pragma once

// Resource ids of Vistroma.exe. The application icon keeps the id the shell and the main window ask for.
#define IDI_APP_ICON 128

// The main window's dialog template; its class is registered by the main window before it is made.
#define IDD_MAIN_DIALOG 102
// Its keys.
#define IDR_MAIN_ACCELERATORS 128

// The caption buttons' pictures (type "PNG"), three frames each: normal, hot, pressed.
#define IDP_CAPTION_RESTORE 154
#define IDP_CAPTION_CLOSE 155
#define IDP_CAPTION_MINIMISE 157
#define IDP_CAPTION_MAXIMISE 166
