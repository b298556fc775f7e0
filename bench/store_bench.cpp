// Opening and saving the largest log a file can count, beside plain reads and writes of the
// same bytes: the store should cost little more than the disk does.
#include "store/LogOps.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

const QString kComment =
    QString::fromUtf8("reef & wreck <deep> \"blue\" caf\xC3\xA9 \xE2\x82\xAC 5 > 3 "
                      "& 2 < 4; calm sea, 18 m vis \xC3\x9C")
        .repeated(2);

// A full log in a folder of its own, made once and shared by every benchmark.
struct BigLog {
    QTemporaryDir dir;
    store::AppState state;
    std::vector<std::pair<QString, QByteArray>> files; // name and bytes, as saved
    qint64 bytes = 0;

    BigLog() {
        if (!dir.isValid() || !QDir::setCurrent(dir.path()))
            std::abort();
        store::StartNewLog(state);
        state.Dives.resize(store::MaxDives + 1);
        for (int i = 1; i <= store::MaxDives; ++i) {
            store::DiveRecord& d = state.Dives[static_cast<size_t>(i)];
            d.TimeData = {static_cast<int16_t>(i % 12 + 1),
                          static_cast<int16_t>(i % 28 + 1),
                          static_cast<int16_t>(1990 + i % 30),
                          9,
                          5,
                          9,
                          47};
            for (size_t k = 0; k < d.DiveData.size(); ++k)
                d.DiveData[k] = static_cast<int16_t>((i * 7 + static_cast<int>(k)) % 3000);
            d.ListData = {static_cast<int16_t>(i % 100), static_cast<int16_t>(i % 100),
                          static_cast<int16_t>(i % 100), static_cast<int16_t>(i % 100)};
            // Comments as divers write them: marks HTML must escape, letters outside ASCII.
            d.Comments = QStringLiteral("Dive %1: ").arg(i) + kComment;
            d.CondData[static_cast<size_t>(i % 8)] = 1;
            d.Rating = static_cast<int16_t>(i % 3);
            d.ProfileNum = static_cast<int16_t>(i % 1000 + 1);
        }
        for (int which = 0; which < 4; ++which) {
            store::RefList& list = state.list(which);
            list.clear();
            for (int k = 0; k < 100; ++k)
                list.push_back({QStringLiteral("Entry %1 of list %2").arg(k).arg(which),
                                QStringLiteral("Some notes about entry %1").arg(k),
                                which == 0 ? QStringLiteral("map%1.bmp").arg(k) : QString()});
        }
        state.Profiles.resize(1001);
        for (size_t p = 1; p < state.Profiles.size(); ++p) {
            store::ProfileRecord& r = state.Profiles[p];
            for (int k = 1; k <= 40; ++k) {
                r.Times[static_cast<size_t>(k)] = static_cast<int16_t>(k);
                r.Depths[static_cast<size_t>(k)] = static_cast<int16_t>(k % 20 + 10);
            }
            r.Notes[0] = QStringLiteral("1:30");
            r.Notes[1] = QStringLiteral("B");
        }
        if (!store::SaveLog(state).empty()) std::abort();
        for (const QString& name : state.Files.names()) {
            QFile f(name);
            if (!f.open(QIODevice::ReadOnly))
                std::abort();
            files.emplace_back(name, f.readAll());
            bytes += files.back().second.size();
        }
    }
};

BigLog& bigLog() {
    static BigLog log;
    return log;
}

// What a start does: a fresh state filled from the files. Making and freeing the state is
// not part of opening, so it happens outside the timed part.
void BM_OpenLog(benchmark::State& st) {
    BigLog& log = bigLog();
    for (auto _ : st) {
        st.PauseTiming();
        auto s = std::make_unique<store::AppState>();
        s->Files = log.state.Files;
        st.ResumeTiming();
        const store::FileProblems problems = store::OpenLog(*s);
        benchmark::DoNotOptimize(s->Dives.data());
        st.PauseTiming();
        if (!problems.empty() || s->DiveCount() != store::MaxDives)
            st.SkipWithError("OpenLog did not read the whole log");
        s.reset();
        st.ResumeTiming();
    }
    st.SetBytesProcessed(st.iterations() * log.bytes);
}

void BM_ReadRaw(benchmark::State& st) {
    BigLog& log = bigLog();
    for (auto _ : st) {
        qint64 total = 0;
        for (const auto& file : log.files) {
            QFile f(file.first);
            if (!f.open(QIODevice::ReadOnly))
                st.SkipWithError("cannot read");
            const QByteArray data = f.readAll();
            total += data.size();
            benchmark::DoNotOptimize(data.constData());
        }
        if (total != log.bytes)
            st.SkipWithError("short read");
    }
    st.SetBytesProcessed(st.iterations() * log.bytes);
}

void BM_SaveLog(benchmark::State& st) {
    BigLog& log = bigLog();
    for (auto _ : st) {
        if (!store::SaveLog(log.state).empty()) st.SkipWithError("SaveLog failed");
    }
    st.SetBytesProcessed(st.iterations() * log.bytes);
}

void BM_WriteRaw(benchmark::State& st) {
    BigLog& log = bigLog();
    for (auto _ : st) {
        for (const auto& file : log.files) {
            QSaveFile f(file.first);
            if (!f.open(QIODevice::WriteOnly) || f.write(file.second) != file.second.size() ||
                !f.commit())
                st.SkipWithError("cannot write");
        }
    }
    st.SetBytesProcessed(st.iterations() * log.bytes);
}

} // namespace

BENCHMARK(BM_OpenLog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadRaw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveLog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteRaw)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
