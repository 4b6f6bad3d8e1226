#include "platform/Errors.h"

GcError::GcError(const QString& text) : std::runtime_error(text.toStdString()) {}

QString GcError::Text() const { return QString::fromStdString(what()); }
