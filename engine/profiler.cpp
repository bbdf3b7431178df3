// SPDX-License-Identifier: GPL-3.0-or-later
// Profiler slots, nesting and the log report.
#include "engine/profiler.h"

#include <cassert>
#include <cstdio>

#include "engine/clock.h"
#include "engine/log.h"

CProfileSample::SampleSlot CProfileSample::samples[CProfileSample::kMaxSamples];
int CProfileSample::lastOpenedSample = -1;
int CProfileSample::openSampleCount = 0;
float CProfileSample::rootBegin = 0;
float CProfileSample::rootEnd = 0;
IProfilerOutputHandler* CProfileSample::outputHandler = nullptr;

float CProfileSample::GetTime() { return static_cast<float>(CClock::GetTicks() / 1000.0); }

CProfileSample::CProfileSample(std::string_view sampleName)
{
    int storeIndex = -1;
    for (int i = 0; i < kMaxSamples; ++i) {
        SampleSlot& slot = samples[i];
        if (!slot.bIsValid) {
            if (storeIndex < 0)
                storeIndex = i;
            continue;
        }
        if (slot.name == sampleName) {
            assert(!samples[i].bIsOpen && "Tried to profile a sample which was already being profiled");
            sampleIndex = i;
            parentIndex = lastOpenedSample;
            lastOpenedSample = i;
            slot.parentCount = openSampleCount++;
            slot.bIsOpen = true;
            ++slot.callCount;
            slot.startTime = GetTime();
            if (parentIndex < 0)
                rootBegin = slot.startTime;
            return;
        }
    }
    assert(storeIndex>=0 && "Profiler has run out of sample slots!");
    SampleSlot& slot = samples[storeIndex];
    slot.bIsValid = true;
    slot.name = sampleName;
    sampleIndex = storeIndex;
    parentIndex = lastOpenedSample;
    lastOpenedSample = storeIndex;
    slot.parentCount = openSampleCount++;
    slot.bIsOpen = true;
    slot.callCount = 1;
    slot.totalTime = 0;
    slot.childTime = 0;
    slot.startTime = GetTime();
    if (parentIndex < 0)
        rootBegin = slot.startTime;
}

CProfileSample::~CProfileSample()
{
    float end = GetTime();
    SampleSlot& slot = samples[sampleIndex];
    slot.bIsOpen = false;
    float taken = end - slot.startTime;
    if (parentIndex >= 0)
        samples[parentIndex].childTime += taken;
    else
        rootEnd = end;
    slot.totalTime += taken;
    lastOpenedSample = parentIndex;
    --openSampleCount;
}

void CProfileSample::Output()
{
    assert(outputHandler && "Profiler has no output handler set");
    float total = rootEnd - rootBegin;
    outputHandler->BeginOutput(total);
    for (SampleSlot& slot : samples) {
        if (!slot.bIsValid)
            continue;
        float sampleTime = slot.totalTime - slot.childTime;
        float percentage = sampleTime / total * 100.0f;
        slot.averagePc = (slot.averagePc * slot.dataCount + percentage) / (slot.dataCount + 1);
        ++slot.dataCount;
        if (slot.minPc == -1 || percentage < slot.minPc)
            slot.minPc = percentage;
        if (slot.maxPc == -1 || percentage > slot.maxPc)
            slot.maxPc = percentage;
        outputHandler->Sample(slot.minPc, slot.averagePc, slot.maxPc, sampleTime, static_cast<int>(slot.callCount),
                              slot.name, slot.parentCount);
        slot.callCount = 0;
        slot.totalTime = 0;
        slot.childTime = 0;
    }
    outputHandler->EndOutput();
}

void CProfileSample::ResetSample(const std::string& sampleName)
{
    for (SampleSlot& slot : samples) {
        if (slot.bIsValid && slot.name == sampleName) {
            slot.minPc = slot.maxPc = -1;
            slot.dataCount = 0;
            return;
        }
    }
}

void CProfileSample::ResetAll()
{
    for (SampleSlot& slot : samples) {
        if (slot.bIsValid) {
            slot.minPc = slot.maxPc = -1;
            slot.dataCount = 0;
        }
    }
}

void CProfileSample::ClearAllForTesting()
{
    for (SampleSlot& slot : samples)
        slot = SampleSlot();
    lastOpenedSample = -1;
    openSampleCount = 0;
    rootBegin = rootEnd = 0;
}

void CProfileLogHandler::BeginOutput(float tTotal)
{
    // With no closed outermost region yet the total is 0; report a rate of 0
    // rather than an infinity.
    double rate = tTotal > 0 ? 60.0 / tTotal : 0.0;
    CLog::GetSingleton().Write(LOG_APP, 10, static_cast<double>(tTotal), rate);
    CLog::GetSingleton().Write(LOG_APP, 11);
}

void CProfileLogHandler::Sample(float fMin, float fAvg, float fMax, float tAvg, int callCount, std::string name,
                                int parentCount)
{
    // Numbers longer than 15 characters and names longer than 255 are cut.
    char min[16], avg[16], max[16], time[16], count[16];
    std::snprintf(min, sizeof min, "%3.1f", fMin);
    std::snprintf(avg, sizeof avg, "%3.1f", fAvg);
    std::snprintf(max, sizeof max, "%3.1f", fMax);
    std::snprintf(time, sizeof time, "%3.1f", tAvg);
    std::snprintf(count, sizeof count, "%3d", callCount);

    std::string indented;
    for (int i = 0; i < parentCount; ++i)
        indented += " ";
    indented += name;
    char namebuf[256];
    std::snprintf(namebuf, sizeof namebuf, "%s", indented.c_str());

    CLog::GetSingleton().Write(LOG_APP, 12, min, avg, max, time, count, namebuf);
}

void CProfileLogHandler::EndOutput() { CLog::GetSingleton().Write(LOG_APP, "\n"); }
