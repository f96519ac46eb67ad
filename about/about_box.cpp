#include "about/about_box.h"

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>

#include "platform/font_fallback.h"

namespace localyx {

namespace {

// Measures come in twips, 15 to the pixel at 96 dots per inch.
constexpr int px(int twips) { return (twips + 7) / 15; }

const QColor kNavy(0, 0, 128);
const QColor kLightYellow(255, 255, 192);
const QColor kRuleColour(192, 192, 255);

/// The texts were laid out for MS Sans Serif, narrower than the fonts that
/// stand in for it: a text that would overflow its label is set a little
/// smaller instead of being cut. A label one line high keeps to one line.
void fitText(QLabel& label) {
    QFont font = label.font();
    const auto fits = [&label](const QFont& candidate) {
        const QFontMetrics metrics(candidate);
        if (label.height() < 2 * metrics.lineSpacing()) {
            return metrics.horizontalAdvance(label.text()) <= label.width();
        }
        const QRect needed = metrics.boundingRect(QRect(0, 0, label.width(), 10000),
                                                  Qt::TextWordWrap | label.alignment(), label.text());
        return needed.height() <= label.height();
    };
    while (!fits(font) && font.pointSizeF() > 6.0) font.setPointSizeF(font.pointSizeF() - 0.25);
    label.setFont(font);
    // A one-line label lower than its font grows downwards rather than lose
    // the descenders.
    const QFontMetrics metrics(font);
    if (label.height() < 2 * metrics.lineSpacing() && label.height() < metrics.height()) {
        label.resize(label.width(), metrics.height());
    }
}

QString webButtonsHint() {
    return QStringLiteral("Si vous êtes connecté à Internet , la touche \"Carte Michelin\"   situe précisément  "
                          "la localité choisie  en bénéficiant de  toutes les options offertes par le site")
           + QStringLiteral(" \" ") + QStringLiteral("www.viamichelin.fr") + QStringLiteral(" \".  ")
           + QStringLiteral("La touche \" itinéraire \"  parmètre automatiquement cette option  "
                            "lorsqu'une seconde localité a été choisie.");
}

}  // namespace

AboutBox::AboutBox(const QPixmap& icon, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("À propos"));
    setFixedSize(px(5730), px(4830));
    setFont(formFont(8.25, false));

    QPalette colours = palette();
    colours.setColor(QPalette::Window, kNavy);
    colours.setColor(QPalette::WindowText, kLightYellow);
    setPalette(colours);
    setAutoFillBackground(true);

    auto* picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setGeometry(px(240), px(240), px(510), px(510));
    picIcon->setPixmap(icon);
    picIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picIcon->setAccessibleName(QStringLiteral("Localyx"));

    const Qt::Alignment centred = Qt::AlignHCenter | Qt::AlignTop;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignTop;
    QLabel* title = addLabel("Label8", QStringLiteral("Localyx"), 1680, 360, 2055, 375, centred);
    title->setFont(formFont(18, true));
    fitText(*title);
    QPalette blue = title->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    title->setPalette(blue);

    addLabel("Label6", QStringLiteral("Version 2.0"), 3960, 480, 855, 255, centred);
    addLabel("Label10", QStringLiteral("Aide à la prospection commerciale"), 1320, 840, 3135, 375, centred);
    addLabel("Label4", QStringLiteral("Exploitation d'une base de données INSEE "), 1320, 1080, 3135, 375, left);
    addLabel("Label9",
             QStringLiteral("Permet, dans une région de France, de lister toutes les localités autour d'une "
                            "agglomération dans un rayon de 5 à 25 Kms. Indique la distance séparant celle-ci "
                            "d'une une autre localité régionale."),
             240, 1440, 5295, 615, left);
    addLabel("Label2",
             QStringLiteral("Les distances sont calculées à partir des coordonnées géographiques du lieu  "
                            "( Longitude et Latitude )  Il s'agit de distances \"à vol d'oiseau\"."),
             240, 2160, 5055, 495, left);
    addLabel("Label1", webButtonsHint(), 240, 2640, 5055, 975, left);
    addLabel("lblDisclaimer", QStringLiteral("©  contact@localyx.fr"), 1080, 3840, 3375, 315, centred);
    addLabel("Label3", QStringLiteral("Localyx — www.localyx.fr"), 1440, 4200, 2655, 375, centred);
    addLabel("Label5", QStringLiteral("2008"), 2400, 4560, 855, 255, centred);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setGeometry(px(4560), px(4080), px(900), px(345));
    m_ok->setDefault(true);
    m_ok->setAutoDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    // Escape rejects the dialog, which closes it just as OK does.
    m_ok->setFocus();
}

QLabel* AboutBox::addLabel(const char* name, const QString& text, int left, int top, int width, int height,
                           Qt::Alignment alignment) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(alignment);
    label->setGeometry(px(left), px(top), px(width), px(height));
    fitText(*label);
    return label;
}

void AboutBox::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // The rule above the notice line: 3 pixels from x 120 to 5520 at 3720.
    QPainter painter(this);
    const int y = px(3720);
    painter.fillRect(QRect(QPoint(px(120), y - 1), QPoint(px(5520), y + 1)), kRuleColour);
}

}  // namespace localyx
