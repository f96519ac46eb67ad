#include "view/map_window/saved_file.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>
#include <QStandardPaths>

namespace localyx {

QString writeWhole(const QString& path, const QByteArray& bytes) {
    const QString shown = QDir::toNativeSeparators(path);
    if (bytes.isEmpty()) return QStringLiteral("Le fichier « %1 » n'a pas pu être préparé.").arg(shown);
    if (QFileInfo(path).isDir()) return QStringLiteral("« %1 » est un dossier.").arg(shown);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return QStringLiteral("Impossible de créer « %1 » : le dossier n'existe pas ou n'accepte pas l'écriture.")
            .arg(shown);
    }
    // A write that fails while the buffer is flushed at commit() would not
    // stop the rename: the flush is checked first.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        file.commit();
    }
    if (!file.commit()) {
        return QStringLiteral("L'écriture de « %1 » a échoué (disque plein ?) ; aucun fichier n'a été laissé.")
            .arg(shown);
    }
    return {};
}

QString firstSaveFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void showSaveFailure(QWidget* parent, const QString& message) {
    QMessageBox::warning(parent, QStringLiteral("Enregistrement impossible"), message);
}

}  // namespace localyx
