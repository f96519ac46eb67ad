#pragma once

#include <functional>
#include <utility>
#include <vector>

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

/// A file type a save dialog offers: the filter's text and its suffix.
using SaveFilter = std::pair<QString, QString>;

/// Opens Qt's own save dialog (French, window-modal, `objectName` for the
/// tests) in the first save folder, the stem proposed with the first
/// filter's suffix; choosing another filter changes the suffix of the name
/// shown, or of a name typed without one. `chosen` is called with the path
/// and the index of the filter.
void askSavePath(QWidget* parent, const QString& title, const QString& objectName,
                 const std::vector<SaveFilter>& filters, const QString& stem,
                 std::function<void(const QString& path, std::size_t filter)> chosen);

/// Shows a failure of writeWhole to the user.
void showSaveFailure(QWidget* parent, const QString& message);

}  // namespace localyx
