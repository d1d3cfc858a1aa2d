// File-type filters of the file dialogs. Windows and settings give them as
// description and pattern pairs separated by '|', patterns separated by
// ';' ("Video (*.avi;*.mpg)|*.avi;*.mpg|All files|*.*"); Qt dialogs take
// one "Description (pattern pattern)" entry per pair. The conversion itself
// (with patterns that match without regard to case) is platform/dialog_filter.h;
// this adds what the Qt dialogs need on top of it.
#pragma once

#include <QStringList>

namespace vt {

// The Qt name filters of a '|' filter, one per complete pair, in order.
// A trailing description without patterns is dropped; "" gives none.
QStringList qtNameFilters(const QString &filter);

// The 1-based index among qtNameFilters(filter) of the filter a dialog
// reports as chosen: a whole Qt name filter, or only its description when
// the dialog hides the pattern lists. 0 when it is none of them.
int filterIndexOf(const QString &filter, const QString &chosen);

} // namespace vt
