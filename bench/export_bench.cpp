// Text and HTML export of a large log, each beside the time to write the same number of
// bytes in one write: through the same atomic file write the export uses (temporary file,
// flush to the disk, rename) and as one plain write. Run from a Release build:
//   build-release/bench/export_bench
#include "output/DiveChoice.h"
#include "output/HtmlExport.h"
#include "output/TextExport.h"
#include "store/FileIO.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>

namespace {

constexpr int kListSize = 100;
constexpr int kCommentBytes = 200;
const QString kCommentText =
    QString::fromUtf8("reef & wreck <deep> \"blue\" caf\xC3\xA9 \xE2\x82\xAC 5 > 3 & 2 < 4; ");

store::RefList makeList(const char* stem) {
    store::RefList list;
    for (int k = 0; k < kListSize; ++k)
        list.push_back(
            {QStringLiteral("%1 %2 & <\"%2\">").arg(QLatin1String(stem)).arg(k), {}, {}});
    return list;
}

// A log of `count` dives with varied values, every comment 200 characters.
const store::AppState& log(int count) {
    static std::map<int, store::AppState> logs;
    auto it = logs.find(count);
    if (it != logs.end())
        return it->second;
    store::AppState s;
    s.DiverName = QStringLiteral("Bench Diver");
    s.DiveOffset = 10;
    s.LocationList = makeList("Location");
    s.TypeList = makeList("Type");
    s.BuddyList = makeList("Buddy");
    s.GearList = makeList("Gear");
    s.Dives.resize(static_cast<size_t>(count) + 1);
    for (int i = 1; i <= count; ++i) {
        store::DiveRecord& d = s.Dives[static_cast<size_t>(i)];
        d.TimeData = {static_cast<int16_t>(i % 12 + 1),    static_cast<int16_t>(i % 28 + 1),
                      static_cast<int16_t>(1990 + i % 30), static_cast<int16_t>(i % 24),
                      static_cast<int16_t>(i % 60),        static_cast<int16_t>((i + 1) % 24),
                      static_cast<int16_t>((i * 7) % 60)};
        for (size_t k = 0; k < d.DiveData.size(); ++k)
            d.DiveData[k] = static_cast<int16_t>((i * 31 + static_cast<int>(k) * 17) % 3000);
        for (size_t k = 0; k < d.ListData.size(); ++k)
            d.ListData[k] = static_cast<int16_t>((i + static_cast<int>(k)) % kListSize);
        for (size_t k = 0; k < d.CondData.size(); ++k)
            d.CondData[k] = static_cast<int16_t>((i >> k) & 1);
        d.Rating = static_cast<int16_t>(i % 3);
        // Every comment has marks the HTML page must escape and letters outside ASCII.
        QString comment = QStringLiteral("Dive %1: ").arg(i);
        while (comment.size() < kCommentBytes)
            comment += kCommentText;
        d.Comments = comment.left(kCommentBytes);
    }
    return logs.emplace(count, std::move(s)).first->second;
}

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

void exportFile(benchmark::State& st, bool html) {
    const store::AppState& s = log(static_cast<int>(st.range(0)));
    const std::vector<int> dives = output::divesFor(s, output::DiveChoice::All);
    const QString name = QDir(folder().path()).filePath(html ? "bench.htm" : "bench.txt");
    for (auto _ : st) {
        const output::ExportResult r = html ? output::WriteHtmlFile(s, name, dives, true)
                                            : output::WriteTextFile(s, name, dives, true);
        if (!r.written)
            st.SkipWithError("export failed");
    }
    const qint64 size = QFileInfo(name).size();
    st.counters["bytes"] = static_cast<double>(size);
    st.SetBytesProcessed(st.iterations() * size);
}

// The same number of bytes in one write through the same atomic file write.
void writeSameBytes(benchmark::State& st, bool html) {
    const store::AppState& s = log(static_cast<int>(st.range(0)));
    const std::vector<int> dives = output::divesFor(s, output::DiveChoice::All);
    const qsizetype size =
        output::exportDocument(html ? output::HtmlFormat : output::TextFormat, s, dives, true)
            .size();
    const QByteArray bytes(size, 'x');
    const QString name = QDir(folder().path()).filePath("plain.bin");
    for (auto _ : st) {
        if (!output::writeOutputFile(name, bytes).isEmpty())
            st.SkipWithError("write failed");
    }
    st.counters["bytes"] = static_cast<double>(size);
    st.SetBytesProcessed(st.iterations() * size);
}

// The same bytes in one plain write: no temporary file, no rename, no flush to the disk.
void writeSameBytesPlain(benchmark::State& st, bool html) {
    const store::AppState& s = log(static_cast<int>(st.range(0)));
    const std::vector<int> dives = output::divesFor(s, output::DiveChoice::All);
    const qsizetype size =
        output::exportDocument(html ? output::HtmlFormat : output::TextFormat, s, dives, true)
            .size();
    const QByteArray bytes(size, 'x');
    const QString name = QDir(folder().path()).filePath("plain.bin");
    for (auto _ : st) {
        QFile f(name);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != size)
            st.SkipWithError("write failed");
    }
    st.counters["bytes"] = static_cast<double>(size);
    st.SetBytesProcessed(st.iterations() * size);
}

// The formatting alone, without the file.
void buildInMemory(benchmark::State& st, bool html) {
    const store::AppState& s = log(static_cast<int>(st.range(0)));
    const std::vector<int> dives = output::divesFor(s, output::DiveChoice::All);
    for (auto _ : st) {
        QByteArray doc =
            output::exportDocument(html ? output::HtmlFormat : output::TextFormat, s, dives, true);
        benchmark::DoNotOptimize(doc.data());
    }
}

void BM_TextExport(benchmark::State& st) {
    exportFile(st, false);
}
void BM_TextSameBytesOneWrite(benchmark::State& st) {
    writeSameBytes(st, false);
}
void BM_TextSameBytesPlainWrite(benchmark::State& st) {
    writeSameBytesPlain(st, false);
}
void BM_HtmlSameBytesPlainWrite(benchmark::State& st) {
    writeSameBytesPlain(st, true);
}
void BM_TextBuildInMemory(benchmark::State& st) {
    buildInMemory(st, false);
}
void BM_HtmlExport(benchmark::State& st) {
    exportFile(st, true);
}
void BM_HtmlSameBytesOneWrite(benchmark::State& st) {
    writeSameBytes(st, true);
}
void BM_HtmlBuildInMemory(benchmark::State& st) {
    buildInMemory(st, true);
}

} // namespace

BENCHMARK(BM_TextExport)->Arg(16384)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextSameBytesOneWrite)->Arg(16384)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextSameBytesPlainWrite)->Arg(16384)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextBuildInMemory)->Arg(16384)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HtmlExport)->Arg(16384)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HtmlSameBytesOneWrite)->Arg(16384)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HtmlSameBytesPlainWrite)->Arg(16384)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HtmlBuildInMemory)->Arg(16384)->Arg(32767)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
