// The kit of the object-kind fuzz and of the hostile-document table: one
// document per stored object kind, written by the program itself, mutations
// of its object's fields, and the full round of one document (read, drawn at
// 25 and 400 percent, outlined, bounded, turned, rescaled, printed to a
// metafile DC and saved again), watched by a clock that fails a case taking
// longer than its limit and names it.
#pragma once
#include "tests/model/qmf_kit.h"
#include <random>
#include <string>
#include <vector>

namespace fuzzkit {

typedef std::vector<uint8_t> Bytes;

// One document holding one object of a kind, and where its record lies.
struct Seed {
    int16_t kind;
    Bytes doc;
    size_t at;          // the object's file record in doc
    uint32_t length;    // its bytes
    uint32_t dataAt;    // the type data within the record (head and name)
};

// Every registered type that has a file form, except the owners (pages,
// groups, chains) whose records hold others: an object made by its module
// (or by the object factory for a kind without a maker here), written into
// a one-page document in `folder`. A kind whose object cannot be made or
// written is left out; its code goes to *missing when given.
std::vector<Seed> makeSeeds(const std::string &folder, std::vector<int16_t> *missing = nullptr);

// The bytes of a one-page document holding the object (which it then owns).
Bytes documentOf(MemHandle object, const std::string &path);
// The offset of the first file record of the type in a document written by
// documentOf; 0 when there is none.
size_t recordOf(const Bytes &doc, int16_t type);

// A mutation of a seed's fields, described for a failure report.
std::string mutate(const Seed &seed, Bytes &doc, std::mt19937 &random,
                   const std::vector<int16_t> &kinds);

// What one round of a document did.
struct Round {
    bool opened = false;
    int objects = -1;        // on the page read
    bool saved = false;
    std::string messages;    // the boxes shown, joined
};

// Reads the document at `path`, draws its first page at 25 and 400
// percent into a DIB, outlines and bounds every object, prints the page to
// an enhanced-metafile DC, saves the document to `resave`, then turns,
// rescales and mirrors every object and draws the page again. Everything
// read is freed at the end.
Round runRound(const std::string &path, const std::string &resave);

// Memory blocks and GDI objects alive (gdi -1 where it cannot be read).
struct Counts {
    long blocks, gdi;
};
Counts countsNow();
// A round whose leftovers are checked against `base`: when the counts grew,
// the round is run again, and what the second leaves beyond the first is a
// leak (the drawing modules keep caches of fonts and lists that grow once
// for a new face or size). *leak names what leaked; the base follows
// what the caches keep.
Round runCounted(const std::string &path, const std::string &resave, Counts &base,
                 std::string *leak);

// GDI objects of this process now (the entries of the process's GDI
// handle table); -1 when the table cannot be read.
long gdiObjects();

// A second thread that fails the running case when it uses more processor
// time than the limit (or waits twenty times as long): it prints the case's description and ends the process, since
// a hung case cannot be stopped.
class Watchdog {
public:
    explicit Watchdog(DWORD limitMs);
    ~Watchdog();
    void begin(const std::string &what);
    void end();

private:
    static DWORD WINAPI run(void *self);
    DWORD limit_;
    CRITICAL_SECTION lock_;
    std::string what_;
    ULONGLONG started_ = 0;
    ULONGLONG startedCpu_ = 0;
    HANDLE watched_ = nullptr;   // the thread whose cases are timed
    bool busy_ = false;
    HANDLE stop_;
    HANDLE thread_;
};

}  // namespace fuzzkit
