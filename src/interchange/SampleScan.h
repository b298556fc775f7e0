#pragma once

#include "ProfileSimplify.h"

#include <QByteArray>

#include <vector>

namespace interchange {

// The samples of one <samples> element as the UDDF reader keeps them.
struct ScannedSamples {
    std::vector<Sample>
        samples;             // in time order; a sample without a time or out of order is left out
    double lowestKelvin = 0; // the lowest sample temperature, when `temperature`
    bool temperature = false;
};

// A dive computer's file is mostly samples: hundreds of thousands of <waypoint> elements of
// a few numbers each. Reading them through a general XML reader takes several times as long
// as the rest of the file, so the plain form, <samples> holding only <waypoint> elements of
// elements without children, entities or comments, is read here straight from the bytes.
// `reduced` is the document with each such block emptied except for a processing
// instruction <?reefbook-samples N?> naming its place in `blocks` (its line breaks are kept,
// so line numbers stay true); a block of any other form is left in place for the XML reader.
// Nothing is taken out of a document that is not UTF-8 or holds a comment or CDATA section,
// where "<samples>" might not be an element.
struct SampleScan {
    QByteArray reduced;
    std::vector<ScannedSamples> blocks;
};
SampleScan scanSamples(const QByteArray& document);

// The target of the processing instruction that stands for a block read by scanSamples.
inline constexpr char SampleBlockTarget[] = "reefbook-samples";

} // namespace interchange
