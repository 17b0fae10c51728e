// What the ruler sources share about a ruler window: its record, its marker
// list, the notify workspace's view mapping and conversions along the ruler.
#pragma once
#include "controls/ruler.h"

LRESULT CALLBACK RulerWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK VRulerWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK RulerBtnWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The record handle of a ruler window; 0 for any other window.
MemHandle rulRecordOf(HWND ruler);
// The notify window of a record when it is a live window; null otherwise.
HWND rulNotifyOf(const RulerRecord &rec);
// The subdivisions of a record as drawing and snapping read them.
int32_t rulSubdivisionsOf(const RulerRecord &rec);
// The record's marker positions (at most what its block holds).
std::vector<int32_t> rulMarkersOf(const RulerRecord &rec);
// Replaces the ruler's list by a new block of the values (none when empty).
// FALSE, the list untouched, when memory fails.
BOOL rulStoreMarkers(HWND ruler, const std::vector<int32_t> &markers);

// Device position along the ruler snapped to the subdivisions when the
// ruler snaps (current mapping).
int32_t rulSnapAlong(const RulerRecord &rec, int32_t pos);
// Logical and device positions along the ruler's axis (current mapping).
int32_t rulDevToLogAlong(const RulerRecord &rec, int32_t pos);
int32_t rulLogToDevAlong(const RulerRecord &rec, int32_t pos);

// Saves the view mapping and makes the workspace's mapping current for the
// guard's lifetime.
class RulWorkspaceMapping {
public:
    explicit RulWorkspaceMapping(HWND workspace);
    ~RulWorkspaceMapping();
    RulWorkspaceMapping(const RulWorkspaceMapping &) = delete;
    RulWorkspaceMapping &operator=(const RulWorkspaceMapping &) = delete;

private:
    BOOL pushed_;
};
