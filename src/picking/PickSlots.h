#pragma once

#include <QList>

#include <array>
#include <atomic>
#include <optional>
#include <stop_token>

// The numbered slots of running picks and their per-slot values. Slot 0 is
// reserved from the start; picks get 1 and up, at most 255 at once.
//
// ScrollPos, ScrollStep and ScrollRun are shared with the slot's step thread
// without a lock, so they are atomics; the rest belongs to the window thread.
class PickSlots
{
public:
    static constexpr int SlotCount = 256;
    static constexpr double FirstStep = 10;
    static constexpr qint16 MaxStep = 32767;

    // What one scroll tick decided.
    struct Tick
    {
        bool reachedEnd = false;
        double scrollBy = 0;       // how far to scroll the page down now
        bool takeSample = false;   // every fifth second: compare the height
    };

    PickSlots();

    // The smallest free slot number, now taken; nullopt when all are in use.
    std::optional<int> AllocSlot();
    // 1-based position of the last entry equal to `slot`; 0 when none.
    int SlotPosition(int slot) const;
    void release(int slot);

    void startScrolling(int slot);
    // Body of a slot's step thread: every `stepMs` the distance grows by the step.
    void ScorllStepAdd(std::stop_token stop, int slot, int stepMs);
    Tick tick(int slot, double scrollHeight);
    // The two halves of a tick: the second counted in real time (true when a
    // height sample is due), and the scroll decided once the height is known.
    bool countSecond(int slot);
    Tick step(int slot, double scrollHeight) const;
    void sample(int slot, double scrollHeight);
    void stopScrolling(int slot);

    QList<int> SlotList;
    std::array<int, SlotCount> SlotBrowser{};
    std::array<double, SlotCount> PickSeconds{};
    std::array<double, SlotCount> PageHeight{};
    std::array<double, SlotCount> HeightSample{};
    std::array<std::atomic<double>, SlotCount> ScrollPos{};
    std::array<std::atomic<qint16>, SlotCount> ScrollStep{};
    std::array<std::atomic<qint16>, SlotCount> ScrollRun{};
};
