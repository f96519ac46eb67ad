#include "view/map_window/saved_file.h"

#include <QDir>
#include <QFileDialog>
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

void askSavePath(QWidget* parent, const QString& title, const QString& objectName,
                 const std::vector<SaveFilter>& filters, const QString& stem,
                 std::function<void(const QString& path, std::size_t filter)> chosen) {
    auto* dialog = new QFileDialog(parent, title);
    dialog->setObjectName(objectName);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // Qt's own dialog, in French like the rest of the program.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    QStringList texts;
    for (const SaveFilter& f : filters) texts << f.first;
    dialog->setNameFilters(texts);
    dialog->setDefaultSuffix(filters.front().second);
    dialog->setDirectory(firstSaveFolder());
    dialog->selectFile(stem + QLatin1Char('.') + filters.front().second);
    // Qt's dialog itself gives the name shown the new filter's suffix; a name
    // typed without one gets it from the default.
    QObject::connect(dialog, &QFileDialog::filterSelected, dialog, [dialog, filters](const QString& text) {
        for (const SaveFilter& f : filters) {
            if (text == f.first) dialog->setDefaultSuffix(f.second);
        }
    });
    QObject::connect(dialog, &QFileDialog::fileSelected, dialog, [dialog, filters, chosen](const QString& path) {
        std::size_t index = 0;
        for (std::size_t i = 0; i < filters.size(); ++i) {
            if (filters[i].first == dialog->selectedNameFilter()) index = i;
        }
        chosen(path, index);
    });
    dialog->open();
}

void showSaveFailure(QWidget* parent, const QString& message) {
    QMessageBox::warning(parent, QStringLiteral("Enregistrement impossible"), message);
}

}  // namespace localyx
