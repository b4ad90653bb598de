#include "picking/PickSlots.h"

#include <cmath>
#include <thread>

PickSlots::PickSlots()
{
    SlotList.append(0);
}

std::optional<int> PickSlots::AllocSlot()
{
    int n = 0;
    while (SlotList.contains(n))
        ++n;
    if (n >= SlotCount)
        return std::nullopt;
    SlotList.append(n);
    return n;
}

int PickSlots::SlotPosition(int slot) const
{
    return int(SlotList.lastIndexOf(slot)) + 1;
}

void PickSlots::release(int slot)
{
    if (const int position = SlotPosition(slot); position > 0 && slot != 0)
        SlotList.removeAt(position - 1);
}

void PickSlots::startScrolling(int slot)
{
    ScrollPos[slot] = 0;
    ScrollRun[slot] = -1;
    ScrollStep[slot] = qint16(FirstStep);
}

void PickSlots::ScorllStepAdd(std::stop_token stop, int slot, int stepMs)
{
    ScrollRun[slot] = -1;
    while (ScrollRun[slot] != 0 && !stop.stop_requested()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(stepMs));
        ScrollPos[slot].fetch_add(double(ScrollStep[slot].load()));
    }
}

PickSlots::Tick PickSlots::tick(int slot, double scrollHeight)
{
    const bool sampleDue = countSecond(slot);
    Tick result = step(slot, scrollHeight);
    result.takeSample = !result.reachedEnd && sampleDue;
    return result;
}

bool PickSlots::countSecond(int slot)
{
    PickSeconds[slot] += 1;
    return std::fmod(std::floor(PickSeconds[slot]), 5.0) == 0;
}

PickSlots::Tick PickSlots::step(int slot, double scrollHeight) const
{
    Tick result;
    const double position = ScrollPos[slot].load();
    // Equality counts as the end: the page runs ahead of the distance.
    if (!(position < scrollHeight)) {
        result.reachedEnd = true;
        return result;
    }
    result.scrollBy = position;
    return result;
}

void PickSlots::sample(int slot, double scrollHeight)
{
    HeightSample[slot] = scrollHeight;
    if (HeightSample[slot] != PageHeight[slot]) {
        PageHeight[slot] = HeightSample[slot];
        return;
    }
    // The page stopped growing: go faster, up to what a 16-bit step holds.
    const int doubled = 2 * int(ScrollStep[slot].load());
    ScrollStep[slot] = qint16(doubled > MaxStep ? MaxStep : doubled);
}

void PickSlots::stopScrolling(int slot)
{
    ScrollRun[slot] = 0;
    ScrollPos[slot] = 0;
}
