// The test kit: recorders for message boxes and help, a temporary folder,
// device-independent bitmaps to check pixels on, and file helpers.
#pragma once
#include "tests/support/kit_gtest.h"
#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace qmtest {

// One message box that was asked for.
struct BoxRecord {
    std::string caption;
    std::string text;
    UINT flags;
};

// While alive, every message box is recorded instead of shown, and answered
// from the scripted answers (IDOK once they run out). Boxes shown while no
// recorder is alive fail the running test.
class BoxRecorder {
public:
    BoxRecorder();
    ~BoxRecorder();
    void answer(int result) { answers_.push_back(result); }
    const std::vector<BoxRecord> &boxes() const { return boxes_; }
    size_t count() const { return boxes_.size(); }
    const BoxRecord &last() const { return boxes_.back(); }
    void clear() { boxes_.clear(); }
    // The texts of all boxes joined by " | ", for readable failures.
    std::string texts() const;

private:
    static int hook(HWND, const char *, const char *, UINT);
    std::vector<BoxRecord> boxes_;
    std::deque<int> answers_;
    BoxRecorder *previous_;
};

// A folder of its own under the temporary folder, removed with its files.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string &path() const { return path_; }
    std::string file(const std::string &name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// Writes bytes to a file (replacing it); true on success.
bool writeFile(const std::string &path, const std::string &bytes);
bool writeFile(const std::string &path, const std::vector<uint8_t> &bytes);
// Reads a whole file; empty when it cannot be read.
std::vector<uint8_t> readFile(const std::string &path);
// True when the file can be opened with no sharing, i.e. nothing in this
// process still holds it open.
bool fileIsClosed(const std::string &path);

// Runs this test program again as a child process with the arguments (its
// gtest flags) and the environment variables added; waits for it and gives
// its exit code, -1 when it could not be started.
int runSelf(const std::string &arguments,
            const std::vector<std::pair<std::string, std::string>> &environment);
// The value of an environment variable; empty when it is not set.
std::string environmentValue(const char *name);

// A 32-bit top-down DIB section selected into a memory DC.
class Dib {
public:
    Dib(int width, int height, COLORREF fill = RGB(255, 255, 255));
    ~Dib();
    HDC dc() const { return dc_; }
    int width() const { return w_; }
    int height() const { return h_; }
    COLORREF pixel(int x, int y) const;
    // Pixels in [left, right) x [top, bottom) that equal the colour.
    int count(COLORREF c, RECT r) const;
    int count(COLORREF c) const;
    // Dark pixels in [left, right) x [top, bottom): the mean of the three
    // channels below `limit` (by default clearly darker than white paper).
    // Text is counted so, never by an exact colour: with antialiasing (any
    // machine with fontconfig) a black glyph's pixels are greys of every
    // shade, and a small glyph may have none darker than mid-grey.
    int countDark(RECT r, int limit = 192) const;
    int countDark() const;
    // Pixels that differ between two bitmaps of the same size.
    int diff(const Dib &other) const;
    void fill(COLORREF c);
    bool saveBmp(const std::string &path) const;

private:
    int w_, h_;
    HDC dc_;
    HBITMAP bmp_;
    HGDIOBJ old_;
    uint32_t *bits_;
};

// Memory blocks alive now; compare before and after to find leaks.
long liveHandles();

// The program's arguments that GoogleTest left (its own flags taken out),
// for tests that take a count or a seed from the command line.
const std::vector<std::string> &programArguments();

// Runs exactly the main loop's body (appPumpMessage: the MDI system keys,
// the accelerators, TranslateMessage, DispatchMessageA) over the queue until
// it is empty. A WM_QUIT ends the pumping: the result is then true and its
// wParam goes to *quitCode.
bool pumpUntilIdle(int *quitCode = nullptr);

}  // namespace qmtest
