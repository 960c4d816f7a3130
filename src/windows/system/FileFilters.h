#pragma once
#include <QString>
#include <QStringList>

// Turns a filter list written as description NUL pattern NUL ... (patterns separated by
// ';') into Qt's name filters, "description (pattern pattern)", in the same order.
QStringList QtNameFilters(const QString& filterPattern);
