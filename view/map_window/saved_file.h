#pragma once

#include <QByteArray>
#include <QString>

class QWidget;

namespace localyx {

/// Writes the bytes to a temporary file beside `path`, then renames it over
/// `path`: a failed write leaves no partial file and an older file intact.
/// @return a French sentence saying why it failed; empty on success
QString writeWhole(const QString& path, const QByteArray& bytes);

/// Where a save dialog opens first: the documents folder, else home.
QString firstSaveFolder();

/// Shows a failure of writeWhole to the user.
void showSaveFailure(QWidget* parent, const QString& message);

}  // namespace localyx
