#pragma once

// Resource ids of Vistroma.exe. The application icon keeps the id the shell and the main window ask for.
#define IDI_APP_ICON 128

// The main window's dialog template; its class is registered by the main window before it is made.
#define IDD_MAIN_DIALOG 102
