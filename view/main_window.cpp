#include "view/main_window.h"

#include <cmath>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>

#include "app/form1.h"
#include "app/initial_state.h"
#include "core/region_catalogue.h"
#include "platform/font_fallback.h"
#include "view/choice_combo.h"
#include "view/form_label.h"
#include "view/pictures.h"
#include "view/shape_widget.h"

namespace localyx {

namespace {

constexpr int kWidth = 390;
constexpr int kHeight = 704;

/// Layout measures are twips, 15 to the pixel.
int px(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }
QRect twipsRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

const QColor kDarkBlue(0, 0, 192);
const QColor kGrey(128, 128, 128);
const QColor kLightCyan(192, 255, 255);
const QColor kLightYellow(255, 255, 192);
const QColor kLightGreen(192, 255, 192);
const QColor kRed(255, 0, 0);
const QColor kButtonGrey(192, 192, 192);

QString qs(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
std::string utf8(const QString& text) { return text.toStdString(); }

void setBackground(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette colours = widget->palette();
    colours.setColor(role, colour);
    widget->setPalette(colours);
}

/// A graphical-style button: a grey face, and a caption that stays legible
/// in grey while the button is disabled.
void setButtonFace(QPushButton* button, const QColor& face) {
    QPalette colours = button->palette();
    colours.setColor(QPalette::Button, face);
    colours.setColor(QPalette::Disabled, QPalette::Button, face);
    colours.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(128, 128, 128));
    button->setPalette(colours);
}

/// Text8 holds CR LF line ends for the logic and plain line breaks on screen.
QString toScreenText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

std::size_t hiddenTextSlot(TextId id) {
    switch (id) {
    case TextId::TxtURLMich: return 0;
    case TextId::TxtURLMich2: return 1;
    case TextId::TxtDepart0: return 2;
    case TextId::TxtArrivee0: return 3;
    case TextId::TxtDepart: return 4;
    case TextId::TxtArrivee: return 5;
    case TextId::Text8: break;
    }
    return 0;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Localyx"));
    // Pictures are drawn for the sharpest of the screens.
    m_scale = qApp->devicePixelRatio();
    setWindowIcon(pictureIcon(mapPinPicture, m_scale));
    setFixedSize(kWidth, kHeight);
    setFont(formFont(8.25, false));
    m_background = backgroundPicture(m_scale);

    m_combo3.text = std::string(kCombo3Text);
    m_combo4.text = std::string(kCombo4Text);
    m_timer1.setInterval(1);
    m_timer2.setInterval(1);

    buildControls();
    addAnswerActions();
}

MainWindow::~MainWindow() { setMousePointer(MousePointer::Default); }

FormLabel* MainWindow::addLabel(const char* name, const QString& caption, int left, int top, int width,
                                int height, qreal points, const QColor& colour, Qt::Alignment alignment) {
    auto* label = new FormLabel(QString::fromLatin1(name), this);
    label->setGeometry(twipsRect(left, top, width, height));
    label->setFont(formFont(points, true));
    label->setAlignment(alignment | Qt::AlignTop);
    setBackground(label, QPalette::WindowText, colour);
    label->setCaption(caption);
    return label;
}

void MainWindow::buildControls() {
    const QCursor hand = handCursor(m_scale);
    const Qt::Alignment centred = Qt::AlignHCenter;
    const Qt::Alignment left = Qt::AlignLeft;

    // Created bottom layer first: the panel, then the labels, then the
    // controls; the lines are raised over everything at the end.
    auto* shape3 = new ShapeWidget(QStringLiteral("Shape3"), kLightCyan, QColor(Qt::black), this);
    shape3->setGeometry(twipsRect(1320, 3600, 3375, 615));

    addLabel("Titre1", QStringLiteral("Localyx"), 1830, 480, 2295, 615, 24, Qt::white, centred);
    addLabel("Titre2", QStringLiteral("Localyx"), 1680, 510, 2535, 735, 24, kDarkBlue, centred);
    m_label1 = addLabel("Label1", QStringLiteral("Région "), 1800, 1200, 2415, 495, 18, kGrey, centred);
    m_lblRegions = addLabel("LblRegions", QString(), 360, 1560, 5295, 495, 18, kGrey, centred);
    m_lblRegions->setShrinkToFit(true);
    m_labelinfo = addLabel("Labelinfo", qs(kLabelinfoInitial), 1200, 3240, 3615, 255, 8.25, kRed, centred);
    m_labelinfo->hide();
    m_result2 = addLabel("result2", QString(), 2760, 3240, 465, 240, 9.75, kDarkBlue, centred);
    m_result2->setWidthFollowsCaption(true);
    addLabel("Label4", QStringLiteral("Localités de la région"), 1800, 3600, 2535, 255, 9.75, kDarkBlue, centred);
    m_lblNbrLoc = addLabel("LblNbrLoc", QString(), 1560, 3630, 375, 255, 8.25, kDarkBlue, centred);
    addLabel("Label3", QStringLiteral("dans un rayon de"), 1560, 3855, 1815, 255, 9.75, kDarkBlue, left);

    m_comboReg = new ChoiceCombo(QStringLiteral("ComboReg"), this);
    m_comboReg->setGeometry(twipsRect(1320, 2160, 3375, 315));
    setBackground(m_comboReg, QPalette::Base, kLightYellow);
    QStringList regions;
    for (const RegionEntry& entry : regionCatalogue()) regions << qs(entry.displayItem);
    m_comboReg->appendItems(regions);
    m_comboReg->setText(qs(kComboRegPrompt));

    m_combo1 = new ChoiceCombo(QStringLiteral("Combo1"), this);
    m_combo1->setGeometry(twipsRect(1320, 2520, 3375, 315));
    setBackground(m_combo1, QPalette::Base, kLightCyan);
    m_combo1->setText(qs(kCombo1Prompt));

    m_combo2 = new ChoiceCombo(QStringLiteral("Combo2"), this);
    m_combo2->setGeometry(twipsRect(1320, 2880, 3375, 315));
    setBackground(m_combo2, QPalette::Base, kLightGreen);
    m_combo2->setText(qs(kCombo2Prompt));

    m_comboKms = new ChoiceCombo(QStringLiteral("ComboKms"), this);
    m_comboKms->setGeometry(twipsRect(3480, 3840, 615, 360));
    m_comboKms->setFont(formFont(9.75, true));
    setBackground(m_comboKms, QPalette::Base, kLightCyan);
    m_comboKms->setTextColour(kDarkBlue);
    QStringList radii;
    for (std::string_view item : kRadiusItems) radii << qs(item);
    m_comboKms->appendItems(radii);
    m_comboKms->setText(qs(kRadiusText));

    // "kms" comes after the radius list so that it shows over the list's
    // right edge, where the two touch.
    addLabel("Label5", QStringLiteral("kms"), 4080, 3870, 495, 255, 9.75, kDarkBlue, left);

    m_cmdAbout = new QPushButton(QStringLiteral("?"), this);
    m_cmdAbout->setObjectName(QStringLiteral("CmdaBOUT"));
    m_cmdAbout->setGeometry(twipsRect(240, 240, 255, 255));
    m_cmdAbout->setToolTip(QStringLiteral("À propos"));

    // The two corner buttons show a glyph instead of a caption: their name
    // goes to the tooltip.
    const auto glyphButton = [this](const char* name, int left, QPixmap (*glyph)(qreal), const QString& title) {
        auto* button = new QPushButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(twipsRect(left, 240, 255, 255));
        button->setIcon(pictureIcon(glyph, m_scale));
        button->setIconSize(QSize(13, 13));
        button->setToolTip(title);
        return button;
    };
    m_cmdMinimise = glyphButton("CmdMinimise", 5040, minimiseGlyph, QStringLiteral("Réduire"));
    m_cmdQuit = glyphButton("CmdQuit", 5280, quitGlyph, QStringLiteral("Quitter"));

    m_cmdCarte = new QPushButton(QStringLiteral("Carte  Michelin ©"), this);
    m_cmdCarte->setObjectName(QStringLiteral("CmdCarte"));
    m_cmdCarte->setGeometry(twipsRect(1320, 4320, 1695, 255));
    setButtonFace(m_cmdCarte, kButtonGrey);
    m_cmdCarte->setEnabled(false);

    m_cmdItineraire = new QPushButton(QStringLiteral("--->  itinéraire "), this);
    m_cmdItineraire->setObjectName(QStringLiteral("CmdItineraire"));
    m_cmdItineraire->setGeometry(twipsRect(3120, 4320, 1575, 255));
    setButtonFace(m_cmdItineraire, kButtonGrey);
    m_cmdItineraire->setEnabled(false);

    m_text8 = new QPlainTextEdit(this);
    m_text8->setObjectName(QStringLiteral("Text8"));
    m_text8->setGeometry(twipsRect(1320, 4680, 3375, 5295));
    m_text8->setReadOnly(true);
    m_text8->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text8->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // One locality a line, always: a long name wrapped onto a second line
    // would read as two localities beside the count. Such a list scrolls
    // sideways instead.
    m_text8->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_text8->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text8->setTabChangesFocus(true);
    setBackground(m_text8, QPalette::Base, kLightCyan);

    // What a screen reader says of each control: captions alone would be
    // prompts with leading blanks, glyphs or nothing at all.
    const auto describe = [](QWidget* control, const QString& name, const QString& description) {
        control->setAccessibleName(name);
        control->setAccessibleDescription(description);
        if (auto* box = qobject_cast<ChoiceCombo*>(control)) box->lineEdit()->setAccessibleName(name);
    };
    describe(m_comboReg, QStringLiteral("Région"),
             QStringLiteral("Choisir la région dont les localités sont chargées"));
    describe(m_combo1, QStringLiteral("Localité de départ"),
             QStringLiteral("Localité autour de laquelle chercher les localités voisines"));
    describe(m_combo2, QStringLiteral("Seconde localité"),
             QStringLiteral("Localité dont la distance à vol d'oiseau depuis la localité de départ est affichée"));
    describe(m_comboKms, QStringLiteral("Rayon en kilomètres"),
             QStringLiteral("Rayon de la recherche autour de la localité de départ"));
    describe(m_text8, QStringLiteral("Localités voisines"),
             QStringLiteral("Localités trouvées dans le rayon choisi, une par ligne"));
    describe(m_cmdCarte, QStringLiteral("Carte de la localité"),
             QStringLiteral("Ouvre dans le navigateur la carte ViaMichelin de la dernière localité choisie"));
    describe(m_cmdItineraire, QStringLiteral("Itinéraire entre les deux localités"),
             QStringLiteral("Ouvre dans le navigateur l'itinéraire ViaMichelin de la localité de départ à la seconde"));
    describe(m_cmdAbout, QStringLiteral("À propos"), QStringLiteral("Présente Localyx"));
    describe(m_cmdMinimise, QStringLiteral("Réduire"), QStringLiteral("Réduit la fenêtre dans la barre des tâches"));
    describe(m_cmdQuit, QStringLiteral("Quitter"), QStringLiteral("Ferme Localyx"));

    // Enter presses the focused button, as Space does.
    for (QPushButton* button : {m_cmdCarte, m_cmdItineraire, m_cmdAbout, m_cmdMinimise, m_cmdQuit}) {
        button->setAutoDefault(true);
    }

    // The six lines lie over everything else.
    const QColor white(Qt::white);
    ShapeWidget::line(QStringLiteral("Line5"), 4020, 1055, 3500, 1055, 2, white, this);
    ShapeWidget::line(QStringLiteral("Line6"), 3500, 1060, 4000, 1060, 3, kRed, this);
    ShapeWidget::line(QStringLiteral("Line1"), 4680, 3600, 1320, 3600, 2, kGrey, this);
    ShapeWidget::line(QStringLiteral("Line2"), 1320, 3600, 1320, 4200, 2, kGrey, this);
    ShapeWidget::line(QStringLiteral("Line3"), 4680, 4200, 1320, 4200, 2, white, this);
    ShapeWidget::line(QStringLiteral("Line4"), 4680, 3600, 4680, 4200, 2, white, this);

    for (QWidget* pointing : std::initializer_list<QWidget*>{m_comboReg, m_combo1, m_combo2, m_comboKms, m_cmdCarte,
                                                             m_cmdItineraire, m_cmdMinimise, m_cmdAbout}) {
        pointing->setCursor(hand);
        if (auto* box = qobject_cast<ChoiceCombo*>(pointing)) box->lineEdit()->setCursor(hand);
    }
    // Every control keeps its presses: none goes through to the window and
    // starts a drag, not even on a disabled button.
    for (QWidget* control : std::initializer_list<QWidget*>{m_comboReg, m_combo1, m_combo2, m_comboKms, m_cmdAbout,
                                                            m_cmdMinimise, m_cmdQuit, m_cmdCarte, m_cmdItineraire,
                                                            m_text8}) {
        control->setAttribute(Qt::WA_NoMousePropagation);
    }

    // Focus order; the focus starts in Combo1.
    const std::initializer_list<QWidget*> tabOrder{m_combo1,  m_combo2,   m_text8,    m_cmdCarte, m_cmdAbout,
                                                   m_cmdQuit, m_cmdMinimise, m_comboReg, m_comboKms, m_cmdItineraire};
    const QWidget* previous = nullptr;
    for (QWidget* next : tabOrder) {
        if (previous) QWidget::setTabOrder(const_cast<QWidget*>(previous), next);
        previous = next;
    }
    m_combo1->setFocus();
}

void MainWindow::addAnswerActions() {
    // Nothing is added to the window's surface: the two entries live in
    // Text8's own menu, and their keys work wherever the focus is.
    m_showMap = new QAction(QStringLiteral("Voir sur la carte"), this);
    m_showMap->setObjectName(QStringLiteral("ShowMap"));
    m_showMap->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    m_saveList = new QAction(QStringLiteral("Enregistrer la liste…"), this);
    m_saveList->setObjectName(QStringLiteral("SaveList"));
    m_saveList->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    for (QAction* action : {m_showMap, m_saveList}) {
        action->setShortcutContext(Qt::WindowShortcut);
        action->setEnabled(false);
        addAction(action);
    }
    connect(m_showMap, &QAction::triggered, this, &MainWindow::mapRequested);
    connect(m_saveList, &QAction::triggered, this, &MainWindow::listSaveRequested);
    connect(m_text8, &QPlainTextEdit::textChanged, this, [this] {
        const bool listed = !m_text8->document()->isEmpty();
        m_showMap->setEnabled(listed);
        m_saveList->setEnabled(listed);
    });

    m_text8->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_text8, &QWidget::customContextMenuRequested, this, &MainWindow::showText8Menu);
    // Shift+F10 opens the menu as the menu key does.
    m_text8->installEventFilter(this);
}

void MainWindow::showText8Menu(const QPoint& at) {
    QMenu* menu = m_text8->createStandardContextMenu(at);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    menu->addAction(m_showMap);
    menu->addAction(m_saveList);
    menu->popup(m_text8->viewport()->mapToGlobal(at));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_text8 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            showText8Menu(m_text8->cursorRect().bottomRight());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

SearchAnswer MainWindow::answer() const {
    AnswerPicks picks = m_picks;
    if (m_result2->isHidden() || m_result2->text().isEmpty()) picks.second = -1;
    return m_form ? searchAnswer(*this, m_form->variables(), picks) : SearchAnswer{};
}

void MainWindow::attach(Form1& form) {
    if (m_form) return;
    m_form = &form;
    connect(m_comboReg, &QComboBox::activated, this, [this] { run(&Form1::ComboReg_Click); });
    connect(m_combo1, &QComboBox::activated, this, [this] { run(&Form1::Combo1_Click); });
    connect(m_combo2, &QComboBox::activated, this, [this] { run(&Form1::Combo2_Click); });
    connect(m_comboKms, &QComboBox::activated, this, [this] { run(&Form1::ComboKms_Click); });
    connect(m_cmdAbout, &QPushButton::clicked, this, [this] { run(&Form1::CmdaBOUT_Click); });
    connect(m_cmdMinimise, &QPushButton::clicked, this, [this] { run(&Form1::CmdMinimise_Click); });
    connect(m_cmdQuit, &QPushButton::clicked, this, [this] { run(&Form1::CmdQuit_Click); });
    connect(m_cmdCarte, &QPushButton::clicked, this, [this] { run(&Form1::CmdCarte_Click); });
    connect(m_cmdItineraire, &QPushButton::clicked, this, [this] { run(&Form1::CmdItineraire_Click); });
    connect(&m_timer1, &QTimer::timeout, this, [this] { run(&Form1::Timer1_Timer); });
    connect(&m_timer2, &QTimer::timeout, this, [this] { run(&Form1::Timer2_Timer); });
    connect(m_label1, &FormLabel::pressed, this, [this](int button) {
        if (m_form) m_form->Label1_MouseDown(button);
    });
    connect(m_lblRegions, &FormLabel::pressed, this, [this](int button) {
        if (m_form) m_form->LblRegions_MouseDown(button);
    });
}

void MainWindow::detach() {
    m_form = nullptr;
    m_timer1.stop();
    m_timer2.stop();
}

void MainWindow::run(void (Form1::*handler)()) {
    if (!m_form) return;
    ++m_handlersRunning;
    (m_form->*handler)();
    --m_handlersRunning;
    // Told once the handler is done, not halfway through a search.
    if (m_handlersRunning > 0 || !(m_listTouched || m_distanceTouched)) return;
    if (m_listTouched) {
        m_picks.town = m_combo1->currentIndex();
        // A radius typed over is no choice: the last one chosen still holds.
        if (m_comboKms->currentIndex() >= 0) m_picks.radiusItem = m_comboKms->currentIndex();
    }
    if (m_distanceTouched) m_picks.second = m_combo2->currentIndex();
    m_listTouched = m_distanceTouched = false;
    emit answerChanged();
}

void MainWindow::centreOnScreen() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    QRect placed(QPoint(0, 0), size());
    placed.moveCenter(area.center());
    // On a screen too small for it, the window keeps its top left corner in
    // view, where the title and the buttons are.
    placed.moveLeft(std::max(placed.left(), area.left()));
    placed.moveTop(std::max(placed.top(), area.top()));
    move(placed.topLeft());
}

ChoiceCombo* MainWindow::combo(ComboId id) const {
    switch (id) {
    case ComboId::ComboReg: return m_comboReg;
    case ComboId::Combo1: return m_combo1;
    case ComboId::Combo2: return m_combo2;
    case ComboId::ComboKms: return m_comboKms;
    case ComboId::Combo3:
    case ComboId::Combo4: break;
    }
    return nullptr;
}

MainWindow::HiddenList* MainWindow::hidden(ComboId id) {
    return const_cast<HiddenList*>(std::as_const(*this).hidden(id));
}

const MainWindow::HiddenList* MainWindow::hidden(ComboId id) const {
    if (id == ComboId::Combo3) return &m_combo3;
    if (id == ComboId::Combo4) return &m_combo4;
    return nullptr;
}

FormLabel* MainWindow::label(LabelId id) const {
    switch (id) {
    case LabelId::LblRegions: return m_lblRegions;
    case LabelId::Labelinfo: return m_labelinfo;
    case LabelId::result2: return m_result2;
    case LabelId::LblNbrLoc: return m_lblNbrLoc;
    }
    return nullptr;
}

QPushButton* MainWindow::button(ButtonId id) const {
    return id == ButtonId::CmdCarte ? m_cmdCarte : m_cmdItineraire;
}

QTimer& MainWindow::timer(TimerId id) { return id == TimerId::Timer1 ? m_timer1 : m_timer2; }
const QTimer& MainWindow::timer(TimerId id) const { return id == TimerId::Timer1 ? m_timer1 : m_timer2; }

// ------------------------------------------------------------ combo boxes

std::string MainWindow::comboText(ComboId id) const {
    if (const HiddenList* list = hidden(id)) return list->text;
    return utf8(combo(id)->currentText());
}

void MainWindow::setComboText(ComboId id, const std::string& text) {
    if (HiddenList* list = hidden(id)) {
        list->text = text;
        return;
    }
    combo(id)->setText(QString::fromStdString(text));
}

int MainWindow::comboListIndex(ComboId id) const {
    if (const HiddenList* list = hidden(id)) return list->index;
    return combo(id)->currentIndex();
}

void MainWindow::setComboListIndex(ComboId id, int index) {
    if (index < -1 || index >= comboListCount(id)) return;
    if (HiddenList* list = hidden(id)) {
        // As the visible lists do: the text follows the choice.
        list->index = index;
        list->text = index >= 0 ? list->items[static_cast<std::size_t>(index)] : std::string();
        return;
    }
    combo(id)->setListIndex(index);
}

int MainWindow::comboListCount(ComboId id) const {
    if (const HiddenList* list = hidden(id)) return static_cast<int>(list->items.size());
    return combo(id)->count();
}

std::string MainWindow::comboItem(ComboId id, int index) const {
    if (index < 0 || index >= comboListCount(id)) return {};
    if (const HiddenList* list = hidden(id)) return list->items[static_cast<std::size_t>(index)];
    return utf8(combo(id)->itemText(index));
}

void MainWindow::addComboItem(ComboId id, const std::string& item) { addComboItems(id, {item}); }

void MainWindow::addComboItems(ComboId id, const std::vector<std::string>& items) {
    if (HiddenList* list = hidden(id)) {
        list->items.insert(list->items.end(), items.begin(), items.end());
        return;
    }
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(items.size()));
    for (const std::string& item : items) texts << QString::fromStdString(item);
    combo(id)->appendItems(texts);
}

void MainWindow::clearCombo(ComboId id) {
    if (HiddenList* list = hidden(id)) {
        *list = HiddenList{};
        return;
    }
    combo(id)->clearList();
}

void MainWindow::setComboForeColor(ComboId id, Rgb colour) {
    if (ChoiceCombo* box = combo(id)) box->setTextColour(QColor::fromRgb(static_cast<QRgb>(colour)));
}

// ------------------------------------------------------- labels and buttons

void MainWindow::setLabelCaption(LabelId id, const std::string& caption) {
    label(id)->setCaption(QString::fromStdString(caption));
    if (id == LabelId::result2) m_distanceTouched = true;
}

void MainWindow::setLabelVisible(LabelId id, bool visible) {
    label(id)->setVisible(visible);
    if (id == LabelId::result2) m_distanceTouched = true;
}

void MainWindow::setButtonEnabled(ButtonId id, bool enabled) { button(id)->setEnabled(enabled); }

// ------------------------------------------------------------------- texts

std::string MainWindow::text(TextId id) const {
    if (id == TextId::Text8) return utf8(m_text8->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
    return m_hiddenTexts[hiddenTextSlot(id)];
}

void MainWindow::setText(TextId id, const std::string& text) {
    if (id == TextId::Text8) {
        m_text8->setPlainText(toScreenText(text));
        m_listTouched = true;
        return;
    }
    m_hiddenTexts[hiddenTextSlot(id)] = text;
}

void MainWindow::insertText(TextId id, const std::string& text) {
    if (id == TextId::Text8) {
        m_text8->textCursor().insertText(toScreenText(text));
        m_listTouched = true;
        return;
    }
    // The hidden fields are only ever appended to: their caret is at the end.
    m_hiddenTexts[hiddenTextSlot(id)] += text;
}

// ------------------------------------------------------------ the window

void MainWindow::setTimerEnabled(TimerId id, bool enabled) {
    if (enabled) {
        if (!timer(id).isActive()) timer(id).start();
    } else {
        timer(id).stop();
    }
}

bool MainWindow::timerEnabled(TimerId id) const { return timer(id).isActive(); }

void MainWindow::setMousePointer(MousePointer pointer) {
    const bool wait = pointer == MousePointer::Hourglass;
    if (wait == m_waiting) return;
    m_waiting = wait;
    if (wait) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QGuiApplication::restoreOverrideCursor();
    }
}

void MainWindow::processPendingEvents() {
    // Repaints and ticks go through; the user's clicks and keys wait until
    // the running handler has ended.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_background);
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    event->accept();
    const int number = buttonNumber(event->button());
    if (m_form && number != 0) m_form->Form_MouseDown(number);
}

}  // namespace localyx
