#pragma once

#include <QString>

#include "app/search_answer.h"
#include "core/exports/around_files.h"

class QWidget;

namespace localyx {

/// The listed localities, nearest first, in a file of the format.
/// @return a French sentence saying why nothing was written; empty on success
QString saveListFile(const QString& path, AroundFormat format, const SearchAnswer& answer);

/// « Enregistrer la liste… »: Qt's own file dialog, the format following the
/// chosen filter; a failure is shown in a message box. Returns at once.
void askAndSaveList(QWidget* parent, const SearchAnswer& answer);

}  // namespace localyx
