// Start-up and the main loop: the hand-over to a running instance, the
// application's texts and paths, the registration of every window class,
// the frame's creation and the first document, and the one function that
// carries one message through the loop's routing.
#pragma once
#include "support/qmwin.h"

// Runs start-up. Returns the frame, or null when start-up ends here (a
// running instance took the command line, a class failed to register, the
// frame could not be made). The frame's MDI client goes to *mdiClient (null
// when the frame has none; the frame is then returned at once).
HWND appInit(HINSTANCE instance, BOOL noPrevInstance, const char *appName, const char *title,
             const char *className, HWND *mdiClient, const char *cmdLine, int show);
// Registers every window class of the program; FALSE at the first failure.
BOOL appRegisterClasses(HINSTANCE instance, const char *className);
// Fills the object type table (model/ob_types.h) with every folder's types
// and their file forms, through each folder's registration call. Run at
// start-up, before anything is drawn or read; the test kit, the end-to-end
// driver and the benchmarks run it too, to work on objects as the program
// does.
void appRegisterTypes();
// Registers one frame-style class (20 window bytes, the class name's icons,
// the menu name or else the class name); the class atom, or 0. A class that
// this instance registered already answers its atom.
ATOM appRegisterFrameClass(HINSTANCE instance, const char *className, const char *menuName,
                           WNDPROC proc);
// The running frame of the class, brought to the front; null when none.
HWND appFindRunningFrame(const char *className);
// Hands a command line to a running frame: a path of at most 255 characters
// as a global atom with WM_COMMAND 790, a longer one (or one the atom table
// refuses) by WM_COPYDATA; when the frame does not take it the user is told.
// TRUE when the frame took the path (or there was none).
BOOL appHandOver(HWND running, const char *path);
// WM_COMMAND 790 with the atom in lParam; FALSE for a null atom.
BOOL appSendFileAtom(HWND frame, ATOM atom);
// WM_COMMAND 111 with a new string handle of the path (posted); FALSE for a
// null or empty path.
BOOL appPostOpenFile(HWND frame, const char *path);
// WM_COMMAND 136 with the path (sent); FALSE for a null or empty path.
BOOL appSendOpenFile(HWND frame, const char *path);
// The command line as the program's ANSI file functions can open it.
// `ansi` is the line WinMain got, `wide` the process's whole wide command
// line (program name first) or null. When the wide line's path holds
// characters outside the ANSI code page (the ANSI line shows them as '?'),
// the path's short form, which has none, is taken, without quotes; else the
// ANSI line. Written into out (outSize bytes); its length.
int appAnsiCommandLine(const char *ansi, const WCHAR *wide, char *out, int outSize);
// Creates and shows the frame window.
HWND appCreateFrame(HINSTANCE instance, const char *className, const char *title,
                    BOOL maximised, int x, int y, int width, int height, int reserved, int show);
// The welcome dialog and the command its answer posts (lParam 0).
void appWelcome(HWND frame, const char *appName);
// The command posted for a welcome answer; 0 for none.
int appWelcomeCommand(int answer);
// The Tip of the Day: at start-up when "TipOfDay" asks for it (or cannot be
// read), always on demand (981). The new flag and index are stored.
void appShowTipOfDay(HWND frame, BOOL onDemand);

// One message through the loop's routing: the MDI system keys, the
// accelerator table, then TranslateMessage and DispatchMessageA.
void appPumpMessage(MSG *msg);
// The loop of WinMain; the wParam of WM_QUIT.
int appRunMessageLoop();
void appSetAccelerators(HACCEL table);
HACCEL appGetAccelerators();

// Texts and paths recorded by start-up.
const char *appGetClassName();
const char *appGetLongTitle();
const char *appGetProgramPath();
BOOL appIsFirstInstance();
void appSetTipsFileName(const char *name);
const char *appGetTipsFileName();

enum { APP_ATOM_MAX = 255, APP_HANDOVER_MAX = 520 };
