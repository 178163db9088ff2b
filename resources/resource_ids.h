#pragma once

// Resource ids of Vistroma.exe. The application icon keeps the id the shell and the main window ask for.
#define IDI_APP_ICON 128
