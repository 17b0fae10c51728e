// The password dialogs "pw", "pwinit" and "pwupdate", driven through the
// dialog kit from tables of entries and the boxes they must give.
#include "tests/support/kit.h"
#include "tests/support/kit_dialog.h"
#include "support/dlg_password.h"
#include <string>
#include <vector>

namespace {

using qmtest::BoxRecorder;
using qmtest::DialogDriver;

const char *kRetry = "Incorrect password.  Please retry";
const char *kSorry = "Sorry, you do not have the correct password";
const char *kWrongOld = "Wrong old password";
const char *kNoMatch = "New password retype does not match.";
const char *kTooMany = "Too many errors in setting password.  The request is dropped.";

// One OK press with the texts typed into the items.
struct Entry {
    std::vector<std::pair<int, const char *>> fields;
};

std::vector<DialogDriver::Step> stepsOf(const std::vector<Entry> &entries, bool cancelLast = false)
{
    std::vector<DialogDriver::Step> steps;
    for (const Entry &e : entries)
        steps.push_back([e](HWND d) {
            for (const auto &f : e.fields)
                qmtest::typeInto(d, f.first, f.second);
            qmtest::pressButton(d, IDOK);
        });
    if (cancelLast)
        steps.push_back([](HWND d) { qmtest::pressButton(d, IDCANCEL); });
    return steps;
}

std::vector<std::string> textsOf(const BoxRecorder &boxes)
{
    std::vector<std::string> out;
    for (const auto &b : boxes.boxes())
        out.push_back(b.text);
    return out;
}

TEST(PasswordDialogs, CheckCountsTriesAndIgnoresCase)
{
    struct Case {
        const char *name;
        int tries;
        std::vector<const char *> typed;
        bool cancel;
        int result;
        std::vector<std::string> boxes;
    } cases[] = {
        {"right at once", 2, {"Sesame"}, false, 1, {}},
        {"other letter case", 2, {"sESAME"}, false, 1, {}},
        {"right after two wrong", 2, {"x", "y", "Sesame"}, false, 1, {kRetry, kRetry}},
        {"three wrong of two tries", 2, {"x", "y", "z"}, false, 0, {kRetry, kRetry, kSorry}},
        {"no tries: one wrong ends", 0, {"x"}, false, 0, {kSorry}},
        {"cancel after a wrong one", 3, {"x"}, true, 0, {kRetry}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        BoxRecorder boxes;
        std::vector<Entry> entries;
        for (const char *t : c.typed)
            entries.push_back(Entry{{{100, t}}});
        std::string caption, prompt, left;
        std::vector<DialogDriver::Step> steps = stepsOf(entries, c.cancel);
        DialogDriver::Step first = steps[0];
        steps[0] = [&, first](HWND d) {
            caption = qmtest::windowText(d);
            prompt = qmtest::itemText(d, 200);
            first(d);
            left = qmtest::itemText(d, 100);   // emptied after a wrong entry
        };
        DialogDriver drive(steps);
        EXPECT_EQ(c.result, dlgCheckPassword(nullptr, "Sesame", c.tries));
        EXPECT_EQ(steps.size(), drive.ran());
        EXPECT_EQ(c.boxes, textsOf(boxes));
        EXPECT_EQ("Password", caption);
        EXPECT_EQ("Enter Password:", prompt);
        if (c.result == 0 && !c.boxes.empty() && c.boxes[0] == kRetry) {
            EXPECT_EQ("", left);
        }
    }
}

TEST(PasswordDialogs, EmptyKnownPasswordNeedsNoDialog)
{
    DialogDriver none({});
    EXPECT_EQ(1, dlgCheckPassword(nullptr, "", 3));
    EXPECT_EQ(1, dlgCheckPassword(nullptr, nullptr, 3));
    EXPECT_EQ(0u, none.ran());
}

TEST(PasswordDialogs, CheckLimitsTheEntryTo64Characters)
{
    std::string known(64, 'k');
    DialogDriver drive({[&](HWND d) {
        EXPECT_EQ(64, (int)SendDlgItemMessageA(d, 100, EM_GETLIMITTEXT, 0, 0));
        qmtest::typeInto(d, 100, known.c_str());
        qmtest::pressButton(d, IDOK);
    }});
    EXPECT_EQ(1, dlgCheckPassword(nullptr, known.c_str(), 0));
}

TEST(PasswordDialogs, CreateAndChange)
{
    struct Case {
        const char *name;
        bool change;                 // "pwupdate" with the old password "Sesame"
        std::vector<Entry> entries;
        bool cancel;
        INT_PTR result;
        const char *password;        // the buffer afterwards
        std::vector<std::string> boxes;
    } cases[] = {
        {"create, both empty", false, {Entry{{{102, ""}, {103, ""}}}}, false, 1, "", {}},
        {"create", false, {Entry{{{102, "Kiwi"}, {103, "Kiwi"}}}}, false, 1, "Kiwi", {}},
        {"create, retype differs in case", false,
         {Entry{{{102, "Kiwi"}, {103, "kiwi"}}}, Entry{{{102, "Kiwi"}, {103, "Kiwi"}}}}, false, 1,
         "Kiwi", {kNoMatch}},
        {"create, cancelled", false, {Entry{{{102, "a"}, {103, "b"}}}}, true, 0, "", {kNoMatch}},
        {"change", true, {Entry{{{101, "Sesame"}, {102, "New"}, {103, "New"}}}}, false, 1, "New",
         {}},
        {"change, old in other case refused", true,
         {Entry{{{101, "sesame"}, {102, "New"}, {103, "New"}}},
          Entry{{{101, "Sesame"}, {102, "New"}, {103, "New"}}}},
         false, 1, "New", {kWrongOld}},
        {"change, four errors keep it open", true,
         {Entry{{{101, "x"}}}, Entry{{{101, "y"}}}, Entry{{{101, "Sesame"}, {102, "a"}, {103, "b"}}},
          Entry{{{101, "Sesame"}, {102, "c"}, {103, "d"}}},
          Entry{{{101, "Sesame"}, {102, "Ok"}, {103, "Ok"}}}},
         false, 1, "Ok", {kWrongOld, kWrongOld, kNoMatch, kNoMatch}},
        {"change, the fifth error drops it", true,
         {Entry{{{101, "x"}}}, Entry{{{101, "Sesame"}, {102, "a"}, {103, "b"}}},
          Entry{{{101, "y"}}}, Entry{{{101, "Sesame"}, {102, "c"}, {103, "d"}}},
          Entry{{{101, "z"}}}},
         false, 0, "", {kWrongOld, kNoMatch, kWrongOld, kNoMatch, kWrongOld, kTooMany}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        BoxRecorder boxes;
        std::string caption;
        std::vector<DialogDriver::Step> steps = stepsOf(c.entries, c.cancel);
        DialogDriver::Step first = steps[0];
        steps[0] = [&, first](HWND d) {
            caption = qmtest::windowText(d);
            first(d);
        };
        DialogDriver drive(steps);
        char out[kDlgPasswordMax + 1] = "stale";
        INT_PTR r = c.change ? dlgChangePassword(nullptr, "Sesame", out)
                             : dlgCreatePassword(nullptr, out, kDlgPasswordMax);
        EXPECT_EQ(c.result, r);
        EXPECT_EQ(steps.size(), drive.ran());
        EXPECT_STREQ(c.password, out);
        EXPECT_EQ(c.boxes, textsOf(boxes));
        EXPECT_EQ(c.change ? "Change Password" : "Create Password", caption);
    }
}

TEST(PasswordDialogs, CreateCopiesAtMostTheMaximum)
{
    DialogDriver drive({[](HWND d) {
        EXPECT_EQ(4, (int)SendDlgItemMessageA(d, 102, EM_GETLIMITTEXT, 0, 0));
        SetDlgItemTextA(d, 102, "Longer");
        SetDlgItemTextA(d, 103, "Longer");
        qmtest::pressButton(d, IDOK);
    }});
    char out[8] = "xxxxxxx";
    EXPECT_EQ(1, dlgCreatePassword(nullptr, out, 4));
    EXPECT_STREQ("Long", out);
}

}  // namespace
