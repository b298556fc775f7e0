// The printed layout of a large log: laying out the pages, painting one page as the preview
// does at 100 %, and writing the whole document as PDF. Run from a Release build:
//   build/bench/print_bench
#include "print/PrintLayout.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <map>

namespace {

constexpr int kCommentBytes = 200;

store::RefList makeList(const char* stem) {
    store::RefList list;
    for (int k = 0; k < 50; ++k)
        list.push_back({QStringLiteral("%1 %2").arg(QLatin1String(stem)).arg(k), {}, {}});
    return list;
}

// A log of `count` dives with varied values, every comment 200 bytes of words.
const store::AppState& log(int count) {
    static std::map<int, store::AppState> logs;
    auto it = logs.find(count);
    if (it != logs.end()) return it->second;
    store::AppState s;
    s.DiverName = QStringLiteral("Bench Diver");
    s.LocationList = makeList("Location");
    s.TypeList = makeList("Type");
    s.BuddyList = makeList("Buddy");
    s.GearList = makeList("Gear");
    s.Dives.resize(static_cast<size_t>(count) + 1);
    for (int i = 1; i <= count; ++i) {
        store::DiveRecord& d = s.Dives[static_cast<size_t>(i)];
        d.TimeData = {static_cast<int16_t>(i % 12 + 1),
                      static_cast<int16_t>(i % 28 + 1),
                      1997,
                      9,
                      static_cast<int16_t>(i % 60),
                      10,
                      5};
        for (size_t k = 0; k < d.DiveData.size(); ++k)
            d.DiveData[k] = static_cast<int16_t>((i * 31 + static_cast<int>(k) * 17) % 3000);
        for (size_t k = 0; k < d.ListData.size(); ++k)
            d.ListData[k] = static_cast<int16_t>((i + static_cast<int>(k)) % 50);
        for (size_t k = 0; k < d.CondData.size(); ++k)
            d.CondData[k] = static_cast<int16_t>((i >> k) & 1);
        d.Rating = static_cast<int16_t>(i % 3);
        QString comment = QStringLiteral("Dive %1:").arg(i);
        while (comment.size() < kCommentBytes)
            comment += QStringLiteral(" reef");
        d.Comments = comment.left(kCommentBytes);
    }
    return logs.emplace(count, std::move(s)).first->second;
}

std::vector<int> allDives(int count) {
    std::vector<int> dives;
    for (int i = 1; i <= count; ++i)
        dives.push_back(i);
    return dives;
}

void BM_BuildPrintDoc(benchmark::State& st) {
    const int count = static_cast<int>(st.range(0));
    const store::AppState& s = log(count);
    const std::vector<int> dives = allDives(count);
    size_t items = 0;
    int pages = 0;
    for (auto _ : st) {
        print::PrintDoc doc;
        print::PrintLayout(doc, s).BuildPrintDoc(dives);
        pages = doc.pageCount();
        items = 0;
        for (int p = 0; p < pages; ++p)
            items += doc.page(p).size();
        benchmark::DoNotOptimize(items);
    }
    st.counters["pages"] = pages;
    // Items per dive stay the same whatever the log's size: memory grows linearly.
    st.counters["items_per_dive"] = static_cast<double>(items) / count;
}
BENCHMARK(BM_BuildPrintDoc)->Arg(100)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

void BM_RenderPreviewPage(benchmark::State& st) {
    print::PrintDoc doc;
    print::PrintLayout(doc, log(2)).BuildPrintDoc({1, 2});
    // A Letter page at 96 dpi, as the preview shows it at 100 %.
    QImage image(816, 1056, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    for (auto _ : st) {
        image.fill(Qt::white);
        QPainter painter(&image);
        doc.render(painter, 0);
    }
}
BENCHMARK(BM_RenderPreviewPage)->Unit(benchmark::kMillisecond);

void BM_PdfDocument(benchmark::State& st) {
    const int count = static_cast<int>(st.range(0));
    const std::vector<int> dives = allDives(count);
    qint64 bytes = 0;
    for (auto _ : st) {
        const QByteArray pdf = print::pdfDocument(log(count), dives, true, QPageSize::Letter);
        bytes = pdf.size();
    }
    st.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_PdfDocument)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
