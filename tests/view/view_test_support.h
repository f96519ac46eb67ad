#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class QComboBox;

namespace localyx::testing {

/// What every window test needs before its first window: the program's
/// style and its stand-ins for MS Sans Serif.
void setUpApplication();

/// A temporary program folder holding a made-up Alsace region file.
class RegionFolder {
public:
    RegionFolder();
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

/// The made-up Alsace file: the first town, its three neighbours within
/// 5 km in file order, and how many localities the file holds.
inline const QString kFirstTown = QStringLiteral("EXEMPLEVILLE-67001");
inline const QStringList kNeighbours = {QStringLiteral("VOISINVILLE-67002"), QStringLiteral("PRES SUR RHIN-67003"),
                                        QStringLiteral("ÉCLUSE LES BAINS-67005")};
inline constexpr int kLocalityCount = 66;
inline constexpr int kEcluseIndex = 4;  ///< position of "ÉCLUSE LES BAINS-67005"

/// Drops the list down and picks the item at `row` with the mouse, as a user does.
void chooseWithMouse(QComboBox& combo, int row);
/// Drops the list down and picks the item at `row` with the arrow keys and Enter.
void chooseWithKeys(QComboBox& combo, int row);

/// The names of the top-level windows still shown.
QStringList shownWindows();

}  // namespace localyx::testing
