#pragma once

#include <QString>

namespace platform {

// Converts a filter of the "Label|*.a;*.b|Label|*.*" form into Qt's "Label (*.a *.b);;Label (*)".
// A label's own trailing "(...)" is replaced by the patterns, so they are not shown twice.
QString toQtNameFilter(const QString& filter);

}  // namespace platform
