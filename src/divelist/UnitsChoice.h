#pragma once

#include "store/Records.h"

class QBoxLayout;
class QComboBox;

namespace divelist {

// The Options' "Units" row: the units the diver logs in, kept per diver. They label the
// dive list's columns and figures and are the default of UDDF and CSV exchanges; the log's
// numbers are never converted. Inserted into `layout` at `position`.
QComboBox* addUnitsChoice(QBoxLayout* layout, int position, const store::FileSet& files);

} // namespace divelist
