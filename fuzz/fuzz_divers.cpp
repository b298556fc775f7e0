// divers.dvl: read, write back, read again; then the checks every file name read from it
// goes through before anything is opened.
#include "FuzzCheck.h"

#include "store/DvlFormat.h"
#include "store/FileIO.h"

#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = fuzz::bytes(data, size);
    QString problem;
    const std::vector<store::DiverEntry> divers = store::dvl::parseDivers(input, &problem);
    const QByteArray written = store::dvl::serializeDivers(divers);
    QString again;
    FUZZ_CHECK(store::dvl::parseDivers(written, &again) == divers);
    FUZZ_CHECK(again.isEmpty());
    if (problem.isEmpty()) FUZZ_CHECK(fuzz::writtenBackAsRead(input, written));
    for (const store::DiverEntry& d : divers)
        for (const QString& name : d.Files.names())
            if (store::fileio::isSafeFileName(name)) {
                // A name let through opens a file right in the current folder, nowhere else.
                const QString path = QStringLiteral("/data/") + name;
                FUZZ_CHECK(QDir::cleanPath(path) == path);
                FUZZ_CHECK(!name.contains(QLatin1Char('\\')) && !name.contains(QChar(u'\0')));
            }
    return 0;
}
