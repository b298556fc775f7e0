#include "Cli.h"

#include "settings/Settings.h"
#include "store/LogOps.h"
#include "support/SampleLog.h"
#include "support/TestEnv.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QtEndian>

#include <map>

namespace {

// The text of each page of a PDF that Qt wrote: every content stream inflated and its glyphs
// read back through the ToUnicode map of the font in use. Text runs end in a line break.
std::vector<QString> pdfPageTexts(const QByteArray& pdf) {
    const QString file = QString::fromLatin1(pdf);
    std::map<int, QString> dicts, streams;
    static const QRegularExpression object(
        QStringLiteral(R"((\d+) 0 obj\s*<<(.*?)>>\s*(stream\n|endobj))"),
        QRegularExpression::DotMatchesEverythingOption);
    for (auto it = object.globalMatch(file); it.hasNext();) {
        const auto m = it.next();
        const int n = m.captured(1).toInt();
        dicts[n] = m.captured(2);
        if (m.captured(3) != QLatin1String("stream\n")) continue;
        QByteArray raw =
            pdf.mid(m.capturedEnd(),
                    file.indexOf(QLatin1String("endstream"), m.capturedEnd()) - m.capturedEnd());
        if (m.captured(2).contains(QLatin1String("FlateDecode"))) {
            QByteArray sized(4, '\0');
            qToBigEndian<quint32>(static_cast<quint32>(raw.size() * 64 + 4096), sized.data());
            raw = qUncompress(sized + raw);
        }
        streams[n] = QString::fromLatin1(raw);
    }
    auto ref = [&](int n, const char* key) {
        const QRegularExpression re(QLatin1String(key) + QStringLiteral(R"(\s+(\d+) 0 R)"));
        return re.match(dicts[n]).captured(1).toInt();
    };
    // Glyph to character, per font object, from "<first> <last> [<u> <u> ...]" ranges.
    std::map<int, std::map<int, QChar>> fonts;
    auto glyphs = [&](int font) -> std::map<int, QChar>& {
        auto& map = fonts[font];
        static const QRegularExpression range(QStringLiteral(R"(<(\w+)> <\w+> \[([^\]]*)\])"));
        for (auto it = range.globalMatch(streams[ref(font, "/ToUnicode")]); it.hasNext();) {
            const auto m = it.next();
            int g = m.captured(1).toInt(nullptr, 16);
            for (const QString& u : m.captured(2).split(QLatin1Char(' '), Qt::SkipEmptyParts))
                map[g++] = QChar(u.mid(1, u.size() - 2).toInt(nullptr, 16));
        }
        return map;
    };
    std::vector<QString> pages;
    static const QRegularExpression kids(QStringLiteral(R"(/Kids\s*\[([^\]]*)\])"));
    static const QRegularExpression token(QStringLiteral(R"(/F(\d+) [\d.]+ Tf|<(\w+)> Tj|\bET\b)"));
    for (const QString& kid : kids.match(file).captured(1).split(QStringLiteral(" 0 R"))) {
        if (kid.trimmed().isEmpty()) continue;
        QString text;
        int font = 0;
        for (auto it = token.globalMatch(streams[ref(kid.trimmed().toInt(), "/Contents")]);
             it.hasNext();) {
            const auto m = it.next();
            if (!m.captured(1).isEmpty())
                font = m.captured(1).toInt();
            else if (m.captured(2).isEmpty())
                text += QLatin1Char('\n');
            else
                for (qsizetype k = 0; k + 4 <= m.captured(2).size(); k += 4)
                    text += glyphs(font)[m.captured(2).mid(k, 4).toInt(nullptr, 16)];
        }
        pages.push_back(text.replace(QLatin1Char('\t'), QLatin1Char(' ')));
    }
    return pages;
}

class PdfExport : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        store::AppState s = numberedLog(3, 100);
        ASSERT_TRUE(store::SaveLog(s).empty());
        settings::SaveSetting(settings::AppName, QStringLiteral("Multi"), QStringLiteral("DefName"),
                              s.DiverName);
        settings::SaveSetting(settings::AppName, QStringLiteral("Startup"),
                              QStringLiteral("Offset"), QStringLiteral("100"));
    }
    QByteArray run(QStringList args, int expectStatus = cli::ExitOk) {
        QByteArray out;
        QBuffer buffer(&out);
        buffer.open(QIODevice::WriteOnly);
        QString err;
        QTextStream errStream(&err);
        args.prepend(QStringLiteral("pdf"));
        args.prepend(QStringLiteral("export"));
        EXPECT_EQ(expectStatus, cli::runCli(args, buffer, errStream)) << err.toStdString();
        return out;
    }
};

} // namespace

TEST_F(PdfExport, WritesThePrintedPages) {
    EXPECT_EQ("Wrote o_brien_.pdf (3 dives)\n", run({"--page-size", "letter"}));
    const QByteArray pdf = readFile(QStringLiteral("o_brien_.pdf"));
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 612.000000 792.000000]"));
    const std::vector<QString> pages = pdfPageTexts(pdf);
    ASSERT_EQ(2u, pages.size());
    for (const char* t : {"Reef Book of O'Brien, Pat", "Dive: 101", "Dive: 102", "comment 2",
                          "   Saltwater", "Buddy:____", "Signatures:____"})
        EXPECT_TRUE(pages[0].contains(QLatin1String(t))) << t;
    EXPECT_FALSE(pages[0].contains(QLatin1String("->"))); // no condition is set
    EXPECT_TRUE(pages[1].contains(QLatin1String("Dive: 103")));
    EXPECT_FALSE(pages[1].contains(QLatin1String("Dive: 102")));

    const QByteArray shown =
        run({"--dives", "103,101", "--no-comments", "--page-size", "A4", "-o", "-"});
    EXPECT_TRUE(shown.contains("/MediaBox [0 0 595.000000 842.000000]"));
    const std::vector<QString> one = pdfPageTexts(shown);
    ASSERT_EQ(1u, one.size());
    EXPECT_LT(one[0].indexOf(QLatin1String("Dive: 103")),
              one[0].indexOf(QLatin1String("Dive: 101")));
    EXPECT_FALSE(one[0].contains(QLatin1String("comment")));

    EXPECT_TRUE(run({"--dives", "7"}, cli::ExitError).isEmpty());
}

TEST_F(PdfExport, ProfilesAndPageNumbersAreOnThePage) {
    store::AppState s = numberedLog(3, 100);
    store::ProfileRecord profile;
    profile.Times[1] = 10;
    profile.Depths[1] = 60;
    profile.Times[2] = 30;
    profile.Depths[2] = 20;
    s.Profiles.push_back(profile);
    s.Dives[2].ProfileNum = 1;
    ASSERT_TRUE(store::SaveLog(s).empty());
    for (bool profiles : {false, true}) {
        SCOPED_TRACE(profiles);
        QStringList args{"--dives", "102", "-o", "-"};
        if (profiles) args << QStringLiteral("--profiles");
        const std::vector<QString> pages = pdfPageTexts(run(args));
        ASSERT_EQ(1u, pages.size());
        EXPECT_TRUE(pages[0].contains(QLatin1String("Page 1 of 1")));
        EXPECT_EQ(profiles, pages[0].contains(QLatin1String("Time (min)")));
    }
}
