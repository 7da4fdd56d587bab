// serializer_bench.cpp - writing and reading one record in the binary format with
// cSerializeBinary / cDeserializeBinary, against msgpack-c.
// SPDX-License-Identifier: MIT
//
// The record: an int32, a uint64, a double, a bool, a 16-character ASCII string and
// a nested list of 8 int32 (a context in our format, an array in msgpack). Each
// benchmark iteration writes or reads one record, so the reported time is the time
// per record; every run takes 100,000 records.
#include "qor_core/sa/deserializebinary.h"
#include "qor_core/sa/serializebinary.h"
#include "qor_core/std/asciistring.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#ifdef QOR_BENCH_WITH_MSGPACK
#include <msgpack.hpp>
#include <string>
#include <vector>
#endif

namespace {

const int kRecords = 100000;

/// Every run of 100,000 records is repeated; the fastest repetition is the figure to
/// compare, since a shared machine only ever adds time.
void recordRuns(benchmark::internal::Benchmark* pBenchmark)
{
    pBenchmark->Iterations(kRecords)->Repetitions(5)->ReportAggregatesOnly(true);
    pBenchmark->ComputeStatistics("min", [](const std::vector<double>& oTimes) {
        return *std::min_element(oTimes.begin(), oTimes.end());
    });
}

struct cRecord
{
    std::int32_t iCount = -123456;
    std::uint64_t iId = 0x0123456789abcdefULL;
    double dRatio = 0.75;
    bool bActive = true;
    qstd::cAsciiString sName = "sixteen-chars-xx";
    std::int32_t aiValues[8] = {1, -2, 3, -4, 5, -6, 7, -8};
};

void writeRecord(const cRecord& oRecord, qsa::cAbstractSerializer& s)
{
    s.store(int(oRecord.iCount));
    s.store((unsigned long long)oRecord.iId);
    s.store(oRecord.dRatio);
    s.store(oRecord.bActive);
    s.store(oRecord.sName);
    qsa::cContext oList(s.newContext(nullptr));
    for (std::int32_t iValue : oRecord.aiValues)
        s.store(int(iValue));
    oList.release();
}

void readRecord(cRecord& oRecord, qsa::cAbstractDeserializer& d)
{
    int iCount;
    unsigned long long iId;
    d.load(iCount);
    d.load(iId);
    d.load(oRecord.dRatio);
    d.load(oRecord.bActive);
    d.load(oRecord.sName);
    oRecord.iCount = iCount;
    oRecord.iId = iId;
    qsa::cContext oList(d.getContext(nullptr));
    for (std::int32_t& iValue : oRecord.aiValues) {
        int i;
        d.load(i);
        iValue = i;
    }
    oList.release();
}

void BM_QorBinaryWrite(benchmark::State& state)
{
    cRecord oRecord;
    qsa::cSerializeBinary s;
    for (auto _ : state) {
        s.rewind();
        writeRecord(oRecord, s);
        benchmark::DoNotOptimize(s.ownData().begin());
    }
    state.counters["bytes"] = double(s.data().length());
}
BENCHMARK(BM_QorBinaryWrite)->Apply(recordRuns);

// Every record into a new serializer: the buffer is allocated per record.
void BM_QorBinaryWriteFresh(benchmark::State& state)
{
    cRecord oRecord;
    for (auto _ : state) {
        qsa::cSerializeBinary s;
        writeRecord(oRecord, s);
        benchmark::DoNotOptimize(s.ownData().begin());
    }
}
BENCHMARK(BM_QorBinaryWriteFresh)->Apply(recordRuns);

void BM_QorBinaryRead(benchmark::State& state)
{
    cRecord oRecord;
    qsa::cSerializeBinary s;
    writeRecord(oRecord, s);
    qstd::tArray<char> oBytes(s.ownData());
    qsa::cDeserializeBinary d((qstd::tConstArrayRef<char>(oBytes)));
    cRecord oTarget;
    for (auto _ : state) {
        d.rewind();
        readRecord(oTarget, d);
        benchmark::DoNotOptimize(oTarget.aiValues[7]);
    }
}
BENCHMARK(BM_QorBinaryRead)->Apply(recordRuns);

#ifdef QOR_BENCH_WITH_MSGPACK

struct cMsgpackRecord
{
    std::int32_t iCount = -123456;
    std::uint64_t iId = 0x0123456789abcdefULL;
    double dRatio = 0.75;
    bool bActive = true;
    std::string sName = "sixteen-chars-xx";
    std::vector<std::int32_t> oValues = {1, -2, 3, -4, 5, -6, 7, -8};
    MSGPACK_DEFINE(iCount, iId, dRatio, bActive, sName, oValues);
};

void BM_MsgpackWrite(benchmark::State& state)
{
    cMsgpackRecord oRecord;
    msgpack::sbuffer oBuffer;
    for (auto _ : state) {
        oBuffer.clear();
        msgpack::pack(oBuffer, oRecord);
        benchmark::DoNotOptimize(oBuffer.data());
    }
    state.counters["bytes"] = double(oBuffer.size());
}
BENCHMARK(BM_MsgpackWrite)->Apply(recordRuns);

// Every record into a new buffer.
void BM_MsgpackWriteFresh(benchmark::State& state)
{
    cMsgpackRecord oRecord;
    for (auto _ : state) {
        msgpack::sbuffer oBuffer;
        msgpack::pack(oBuffer, oRecord);
        benchmark::DoNotOptimize(oBuffer.data());
    }
}
BENCHMARK(BM_MsgpackWriteFresh)->Apply(recordRuns);

void BM_MsgpackRead(benchmark::State& state)
{
    cMsgpackRecord oRecord;
    msgpack::sbuffer oBuffer;
    msgpack::pack(oBuffer, oRecord);
    cMsgpackRecord oTarget;
    for (auto _ : state) {
        msgpack::object_handle oHandle = msgpack::unpack(oBuffer.data(), oBuffer.size());
        oHandle.get().convert(oTarget);
        benchmark::DoNotOptimize(oTarget.oValues.data());
    }
}
BENCHMARK(BM_MsgpackRead)->Apply(recordRuns);

#endif

} // namespace
