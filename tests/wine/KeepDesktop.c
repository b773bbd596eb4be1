/* Keeps Wine's desktop process alive while the window tests run: every program that opens a
   window starts it, and it lingers about 20 s after the last window closes, holding the test
   runner's output pipe. A window that lives through the whole run keeps one desktop process
   for all the tests. It is a message-only window: without a display Wine creates no other
   kind. Ends when it is killed. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;
    if (CreateWindowA("STATIC", "Tilava tests", 0, 0, 0, 1, 1, HWND_MESSAGE, NULL, NULL, NULL) ==
        NULL)
        return 1;
    Sleep(INFINITE);
    return 0;
}
