#pragma once

#include "print/PrintLayout.h"

#include "support/SampleLog.h"

// The text, lines and pictures of laid-out pages written out one item to a line, so that a
// layout can be compared with one recorded earlier. Page numbers are left out: they were added
// to the pages later, in the bottom margin, where nothing else stands.
inline QString layoutDump(const print::PrintDoc& doc) {
    QString out;
    for (int p = 0; p < doc.pageCount(); ++p)
        for (const print::PrintItem& item : doc.page(p)) {
            const char kind = item.kind == print::PrintItem::Text      ? 'T'
                              : item.kind == print::PrintItem::Line    ? 'L'
                              : item.kind == print::PrintItem::Picture ? 'P'
                                                                       : '\0';
            if (!kind) continue;
            out += QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10\n")
                       .arg(p)
                       .arg(QLatin1Char(kind))
                       .arg(item.rect.left(), 0, 'f', 1)
                       .arg(item.rect.top(), 0, 'f', 1)
                       .arg(item.rect.right(), 0, 'f', 1)
                       .arg(item.rect.bottom(), 0, 'f', 1)
                       .arg(item.style.pointSize)
                       .arg(item.style.bold ? 1 : 0)
                       .arg(item.style.color.name(), item.text);
        }
    return out;
}

// Seven dives whose comments run from none to five lines, some lines long enough to wrap.
inline store::AppState shortCommentLog() {
    store::AppState s = numberedLog(7, 40);
    for (int i = 1; i <= 7; ++i) {
        QStringList lines;
        for (int k = 0; k < (i - 1) % 6; ++k)
            lines << QStringLiteral("Line %1 of dive %2%3")
                         .arg(k + 1)
                         .arg(i)
                         .arg(k == 2 ? QStringLiteral(", long enough to wrap: a turtle, two rays, "
                                                      "a moray under the ledge and a school of "
                                                      "jacks circling the pinnacle")
                                     : QString());
        s.Dives[static_cast<size_t>(i)].Comments = lines.join(QStringLiteral("\r\n"));
        s.Dives[static_cast<size_t>(i)].Rating = static_cast<int16_t>(i % 4);
        s.Dives[static_cast<size_t>(i)].CondData[static_cast<size_t>(i % 8)] = 1;
    }
    return s;
}
