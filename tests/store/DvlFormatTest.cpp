#include "store/DvlFormat.h"
#include "store/Text.h"
#include "support/TestEnv.h"

#include <functional>
#include <random>

namespace store {

namespace {

QByteArray zeros(int n) { return QByteArray(n, '\0'); }

// The dive of the byte example below.
DiveRecord sampleDive() {
    DiveRecord d;
    d.TimeData = {7, 4, 1997, 9, 5, 9, 47};
    d.DiveData = {3000, 700, 80, 42, 60, 12, -5, 82, 78, 80};
    d.ListData = {1, 2, 1, 3};
    d.CondData = {0, 1, 1, 0, 0, 0, 0, 1};
    d.Rating = 2;
    d.ProfileNum = 3;
    return d;
}

// The same dive as it lies on disk, field by field.
const char* const SampleDiveBytes = "07 00 04 00 CD 07 09 00 05 00 09 00 2F 00"       // TimeData
                                    " B8 0B BC 02 50 00 2A 00 3C 00 0C 00 FB FF 52 00" // DiveData
                                    " 4E 00 50 00"
                                    " 01 00 02 00 01 00 03 00"                         // ListData
                                    " 00 00"                                           // no comment
                                    " 00 00 01 00 01 00 00 00 00 00 00 00 00 00 01 00" // CondData
                                    " 02 00 03 00";                                    // Rating, ProfileNum

} // namespace

TEST(DvlFormat, DiveRecordBytes) {
    const QByteArray oneDive = bytesOf("01 00") + bytesOf(SampleDiveBytes);
    ASSERT_EQ(oneDive.size(), 2 + 64); // an empty comment makes a 64-byte record
    EXPECT_EQ(dvl::serializeLog({sampleDive()}), oneDive);

    DiveRecord withComment = sampleDive();
    withComment.Comments = QStringLiteral("Hi");
    const QByteArray commented = dvl::serializeLog({withComment});
    EXPECT_EQ(commented.size(), 2 + 64 + 2);
    EXPECT_EQ(commented.mid(2 + 42, 4), bytesOf("02 00 \"Hi\""));

    QString problem;
    const auto back = dvl::parseLog(oneDive, &problem);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0], sampleDive());
    EXPECT_TRUE(problem.isEmpty());
}

TEST(DvlFormat, ListAndDiverAndProfileBytes) {
    const QByteArray none = bytesOf(R"(00 00 04 00 "None" 00 00 00 00)");
    ASSERT_EQ(none.size(), 12);
    EXPECT_EQ(dvl::serializeList({ListEntry{QStringLiteral("None"), {}, {}}}, false), none);
    // The third string of a type, buddy or gear entry is written empty even if set.
    EXPECT_EQ(dvl::serializeList({ListEntry{QStringLiteral("None"), {}, QStringLiteral("x")}},
                                 false),
              none);
    EXPECT_EQ(dvl::serializeList({ListEntry{QStringLiteral("Pool"), QStringLiteral("i"),
                                            QStringLiteral("map.bmp")}},
                                 true),
              bytesOf(R"(00 00 04 00 "Pool" 01 00 "i" 07 00 "map.bmp")"));

    const QByteArray divers =
        bytesOf(R"(01 00 07 00 "Default" 08 00 "log1.dvl" 08 00 "loc1.dvl" 09 00 "type1.dvl")"
                R"( 08 00 "bud1.dvl" 09 00 "gear1.dvl" 09 00 "prof1.dvl")");
    ASSERT_EQ(divers.size(), 74);
    EXPECT_EQ(dvl::serializeDivers({DiverEntry{QStringLiteral("Default"), FileSet{}}}), divers);
    const auto parsed = dvl::parseDivers(divers);
    ASSERT_EQ(parsed.size(), 1u);
    EXPECT_EQ(parsed[0].Name, QStringLiteral("Default"));
    EXPECT_EQ(parsed[0].Files, FileSet{});

    // Record 0 with no points and no notes: 618 bytes after the highest index.
    const QByteArray emptyProfile = bytesOf("00 00") + zeros(604) + zeros(14);
    ASSERT_EQ(emptyProfile.size(), 2 + 618);
    EXPECT_EQ(dvl::serializeProfiles({ProfileRecord{}}), emptyProfile);

    ProfileRecord p;
    p.Times[1] = 10;
    p.Depths[1] = 20;
    p.Notes[0] = QStringLiteral("1:00");
    const QByteArray two = dvl::serializeProfiles({ProfileRecord{}, p});
    EXPECT_EQ(two.left(2), bytesOf("01 00"));
    const QByteArray second = two.mid(2 + 618);
    EXPECT_EQ(second.size(), 618 + 4);
    EXPECT_EQ(second.mid(2, 2), bytesOf("0A 00"));       // Times[1]
    EXPECT_EQ(second.mid(302 + 2, 2), bytesOf("14 00")); // Depths[1]
    EXPECT_EQ(second.mid(604, 6), bytesOf(R"(04 00 "1:00")"));
    const auto back = dvl::parseProfiles(two);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1], p);
}

TEST(DvlFormat, EveryByteSurvivesATextField) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QByteArray stored = bytesOf("00 01") + all; // a 256-byte counted string

    DiveRecord d;
    d.Comments = text::fromCp1252(all);
    ASSERT_EQ(d.Comments.size(), 256);
    const QByteArray log = dvl::serializeLog({d});
    EXPECT_EQ(log.mid(2 + 42, 258), stored);
    const auto dives = dvl::parseLog(log);
    ASSERT_EQ(dives.size(), 1u);
    EXPECT_EQ(dvl::serializeLog(dives), log);

    // The same through every other kind of file.
    const ListEntry e{text::fromCp1252(all), text::fromCp1252(all), text::fromCp1252(all)};
    const QByteArray list = dvl::serializeList({e}, true);
    EXPECT_EQ(list, bytesOf("00 00") + stored + stored + stored);
    EXPECT_EQ(dvl::serializeList(dvl::parseList(list, true), true), list);

    ProfileRecord p;
    p.Notes[4] = text::fromCp1252(all);
    const QByteArray prof = dvl::serializeProfiles({p});
    EXPECT_EQ(dvl::serializeProfiles(dvl::parseProfiles(prof)), prof);

    const DiverEntry diver{text::fromCp1252(all), FileSet{}};
    const QByteArray divers = dvl::serializeDivers({diver});
    EXPECT_EQ(divers.mid(2, 258), stored);
    EXPECT_EQ(dvl::serializeDivers(dvl::parseDivers(divers)), divers);
}

TEST(DvlFormat, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    struct Case {
        QString in;
        QByteArray out;
    };
    const Case cases[] = {
        {QStringLiteral("caf\u00e9 \u20ac5"), bytesOf("\"caf\" E9 \" \" 80 \"5\"")},
        {QStringLiteral("\u0100x"), QByteArray("?x")},                 // Latin A with macron
        {QString::fromUtf8("\xF0\x9F\x90\xA0"), QByteArray("?")},      // one emoji, one '?'
        {QStringLiteral("\u0080\u0085"), QByteArray("??")},           // C1 the code page maps away
        {QStringLiteral("\u0081\u008D\u008F\u0090\u009D"), bytesOf("81 8D 8F 90 9D")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(text::toCp1252(c.in), c.out) << c.in.toStdString();

    // Reading: plain Latin-1 texts and texts with one of the 32 special bytes anywhere.
    const QByteArray plain(37, 'a');
    const Case reads[] = {
        {QString(37, QLatin1Char('a')), plain},
        {QString(37, QLatin1Char('a')) + QStringLiteral("\u0178"), plain + bytesOf("9F")},
        {QStringLiteral("\u20ac") + QString(37, QLatin1Char('a')), bytesOf("80") + plain},
        {QStringLiteral("\u00a0\u00ff\u007f"), bytesOf("A0 FF 7F")},
        {QString(), QByteArray()},
    };
    for (const Case& c : reads)
        EXPECT_EQ(text::fromCp1252(c.out), c.in) << c.out.toHex().toStdString();

    // Encoding into a buffer stops at its limit.
    char buffer[4] = {};
    EXPECT_EQ(text::encodeCp1252(QStringLiteral("ab\u20acdef"), buffer, 3), 3);
    EXPECT_EQ(QByteArray(buffer, 3), bytesOf("\"ab\" 80"));
}

// For every kind of file: a valid file of a few records, and how to read one.
struct FileKind {
    const char* name;
    QByteArray bytes;
    int records;
    std::function<int(const QByteArray&, QString*)> count;
};

std::vector<FileKind> fileKinds() {
    DiveRecord a = sampleDive(), b;
    a.Comments = QStringLiteral("first");
    b.Comments = QStringLiteral("second dive");
    ProfileRecord profile;
    profile.Notes[2] = QStringLiteral("RNT 12");
    const ListEntry e1{QStringLiteral("Blue Hole"), QStringLiteral("deep"), QStringLiteral("bh.bmp")};
    const ListEntry e2{QStringLiteral("Reef"), {}, {}};
    FileSet other = FileSet::numbered(2);
    return {
        {"log", dvl::serializeLog({a, b, a}), 3,
         [](const QByteArray& d, QString* p) { return int(dvl::parseLog(d, p).size()); }},
        {"list", dvl::serializeList({e1, e2, e1}, false), 3,
         [](const QByteArray& d, QString* p) { return int(dvl::parseList(d, false, p).size()); }},
        {"location list", dvl::serializeList({e1, e2}, true), 2,
         [](const QByteArray& d, QString* p) { return int(dvl::parseList(d, true, p).size()); }},
        {"profile", dvl::serializeProfiles({ProfileRecord{}, profile}), 2,
         [](const QByteArray& d, QString* p) { return int(dvl::parseProfiles(d, p).size()); }},
        {"divers.dvl",
         dvl::serializeDivers({DiverEntry{QStringLiteral("Ann"), FileSet{}},
                               DiverEntry{QStringLiteral("Bob"), other}}),
         2, [](const QByteArray& d, QString* p) { return int(dvl::parseDivers(d, p).size()); }},
    };
}

// Where each record of a file ends, found by reading growing prefixes of a whole file.
TEST(DvlFormat, FileCutShortKeepsEveryCompleteRecord) {
    for (const FileKind& k : fileKinds()) {
        SCOPED_TRACE(k.name);
        QString problem;
        ASSERT_EQ(k.count(k.bytes, &problem), k.records);
        EXPECT_TRUE(problem.isEmpty());

        // Reading a prefix keeps exactly the records that end inside it.
        int previous = 0;
        for (qsizetype cut = 0; cut < k.bytes.size(); ++cut) {
            problem.clear();
            const int got = k.count(k.bytes.left(cut), &problem);
            EXPECT_GE(got, previous) << "cut at " << cut;
            EXPECT_LT(got, k.records) << "cut at " << cut;
            previous = got;
            // Only an empty file is a plain empty file; every other cut is reported.
            EXPECT_EQ(problem.isEmpty(), cut == 0) << "cut at " << cut << ": "
                                                   << problem.toStdString();
        }
        EXPECT_EQ(previous, k.records - 1);

        // Bytes after the last record are not part of the file.
        problem.clear();
        EXPECT_EQ(k.count(k.bytes + bytesOf("05 00 41 42 43"), &problem), k.records);
        EXPECT_TRUE(problem.isEmpty());
    }
}

TEST(DvlFormat, CorruptedCountsAndLengths) {
    for (const FileKind& k : fileKinds()) {
        SCOPED_TRACE(k.name);
        struct Case {
            const char* what;
            QByteArray bytes;
            int records;
        };
        QByteArray negative = k.bytes;
        negative[0] = char(0xFE);
        negative[1] = char(0xFF); // -2
        QByteArray huge = k.bytes;
        huge[0] = char(0xFF);
        huge[1] = char(0x7F); // 32767 announced, a few present
        const Case cases[] = {
            {"negative count", negative, 0},
            {"count far beyond the data", huge, k.records},
            {"single byte", bytesOf("01"), 0},
        };
        for (const Case& c : cases) {
            QString problem;
            const int got = k.count(c.bytes, &problem);
            EXPECT_EQ(got, c.records) << c.what;
            EXPECT_FALSE(problem.isEmpty()) << c.what;
        }
    }
}

TEST(DvlFormat, StringLengthBeyondTheFileIsACut) {
    // One dive whose comment claims 60000 bytes in a 70-byte file.
    QByteArray log = bytesOf("01 00") + zeros(42) + bytesOf("60 EA") + zeros(20);
    QString problem;
    EXPECT_TRUE(dvl::parseLog(log, &problem).empty());
    EXPECT_FALSE(problem.isEmpty());

    // A second list entry whose name length runs past the end.
    const QByteArray list = bytesOf(R"(01 00 01 00 "A" 00 00 00 00 FF FF "B")");
    problem.clear();
    const RefList l = dvl::parseList(list, false, &problem);
    ASSERT_EQ(l.size(), 1u);
    EXPECT_EQ(l[0].Name, QStringLiteral("A"));
    EXPECT_FALSE(problem.isEmpty());
}

TEST(DvlFormat, RandomBytesNeverCrashOrInventRecords) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 3000; ++round) {
        QByteArray data(static_cast<qsizetype>(rng() % 700), '\0');
        for (char& c : data)
            c = static_cast<char>(rng());
        // Keep counts small often, so records actually get parsed.
        if (data.size() >= 2 && round % 2)
            data[1] = 0;
        // A record can never be shorter than its fixed fields.
        EXPECT_LE(dvl::parseLog(data).size() * 64, size_t(data.size()));
        EXPECT_LE(dvl::parseList(data, true).size() * 6, size_t(data.size()));
        EXPECT_LE(dvl::parseList(data, false).size() * 6, size_t(data.size()));
        EXPECT_LE(dvl::parseProfiles(data).size() * 618, size_t(data.size()));
        EXPECT_LE(dvl::parseDivers(data).size() * 14, size_t(data.size()));
    }
}

TEST(DvlFormat, LongTextIsCutToTheLargestCountedString) {
    DiveRecord d;
    d.Comments = QString(70000, QLatin1Char('x'));
    const QByteArray log = dvl::serializeLog({d});
    EXPECT_EQ(log.size(), 2 + 64 + 65535);
    EXPECT_EQ(log.mid(2 + 42, 2), bytesOf("FF FF"));
    const auto back = dvl::parseLog(log);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].Comments.size(), 65535);
}

} // namespace store
