// SPDX-License-Identifier: GPL-3.0-or-later
// A small hierarchical wall-clock profiler: scoped named samples, reported as
// shares of the outermost region to an output handler.
#pragma once

#include <string>
#include <string_view>

class IProfilerOutputHandler {
public:
    virtual void BeginOutput(float tTotal) = 0;
    virtual void Sample(float fMin, float fAvg, float fMax, float tAvg, int callCount, std::string name,
                        int parentCount) = 0;
    virtual void EndOutput() = 0;
};

class CProfileSample {
public:
    // A name seen before costs no allocation: the name is only compared.
    explicit CProfileSample(std::string_view sampleName);
    ~CProfileSample();
    CProfileSample(const CProfileSample&) = delete;
    CProfileSample& operator=(const CProfileSample&) = delete;

    // Reports every slot to the handler and starts a new measuring period.
    static void Output();
    // Forgets minimum, maximum and the count behind the average of the first slot named so.
    static void ResetSample(const std::string& sampleName);
    static void ResetAll();
    // Seconds, from the engine clock (millisecond resolution).
    static float GetTime();

    static constexpr int kMaxSamples = 50;

    struct SampleSlot {
        bool bIsValid = false;
        bool bIsOpen = false;
        unsigned int callCount = 0;
        std::string name;
        float startTime = 0;
        float totalTime = 0;
        float childTime = 0;
        int parentCount = 0;
        float averagePc = -1;
        float minPc = -1;
        float maxPc = -1;
        unsigned long dataCount = 0;
    };
    static SampleSlot samples[kMaxSamples];
    static int lastOpenedSample;
    static int openSampleCount;
    static float rootBegin, rootEnd;
    static IProfilerOutputHandler* outputHandler;

    // Clears every slot and the class-wide state (tests start from scratch).
    static void ClearAllForTesting();

protected:
    int sampleIndex;
    int parentIndex;
};

// Writes reports to the application log.
class CProfileLogHandler : public IProfilerOutputHandler {
public:
    void BeginOutput(float tTotal) override;
    void Sample(float fMin, float fAvg, float fMax, float tAvg, int callCount, std::string name,
                int parentCount) override;
    void EndOutput() override;
};

#define PROFILE(name) CProfileSample _profile_sample(name)
