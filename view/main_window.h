#pragma once

#include <array>
#include <string>
#include <vector>

#include <QTimer>
#include <QWidget>

#include "app/form_view.h"
#include "app/search_answer.h"

class QAction;
class QPlainTextEdit;
class QPushButton;

namespace localyx {

class ChoiceCombo;
class FormLabel;
class Form1;
class ShapeWidget;

/// The main window Form1 as the user sees it: a borderless, fixed 390 × 704
/// panel carrying every control at its place. It shows what the window's
/// logic writes and hands the user's actions to the logic's handlers.
class MainWindow : public QWidget, public FormView {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    /// The handlers that the window's events run; none run before this.
    void attach(Form1& form);
    /// Runs no more handlers (the logic is going away before the window).
    void detach();
    /// Places the window in the middle of its screen's free area.
    void centreOnScreen();

    /// The visible combo boxes; nullptr for the hidden Combo3 and Combo4.
    ChoiceCombo* combo(ComboId id) const;

    /// What the window answered last, for the map and the saved list.
    SearchAnswer answer() const;
    /// « Voir sur la carte » and « Enregistrer la liste… », in Text8's menu
    /// and on their keys anywhere in the window.
    QAction* showMapAction() const { return m_showMap; }
    QAction* saveListAction() const { return m_saveList; }

signals:
    /// A handler has changed the list or the distance shown (sent once the
    /// handler has ended).
    void answerChanged();
    void mapRequested();
    void listSaveRequested();

public:
    // FormView
    std::string comboText(ComboId combo) const override;
    void setComboText(ComboId combo, const std::string& text) override;
    int comboListIndex(ComboId combo) const override;
    void setComboListIndex(ComboId combo, int index) override;
    int comboListCount(ComboId combo) const override;
    std::string comboItem(ComboId combo, int index) const override;
    void addComboItem(ComboId combo, const std::string& item) override;
    void addComboItems(ComboId combo, const std::vector<std::string>& items) override;
    void clearCombo(ComboId combo) override;
    void setComboForeColor(ComboId combo, Rgb colour) override;
    void setLabelCaption(LabelId label, const std::string& caption) override;
    void setLabelVisible(LabelId label, bool visible) override;
    void setButtonEnabled(ButtonId button, bool enabled) override;
    std::string text(TextId box) const override;
    void setText(TextId box, const std::string& text) override;
    void insertText(TextId box, const std::string& text) override;
    void setTimerEnabled(TimerId timer, bool enabled) override;
    bool timerEnabled(TimerId timer) const override;
    void setMousePointer(MousePointer pointer) override;
    void processPendingEvents() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    /// Combo3 and Combo4: lists the user never sees.
    struct HiddenList {
        std::string text;
        std::vector<std::string> items;
        int index = -1;
    };

    void buildControls();
    void addAnswerActions();
    void showText8Menu(const QPoint& at);
    /// Runs a handler of the logic, if it is attached.
    void run(void (Form1::*handler)());
    void connectEvents();
    FormLabel* addLabel(const char* name, const QString& caption, int left, int top, int width, int height,
                        qreal points, const QColor& colour, Qt::Alignment alignment);
    HiddenList* hidden(ComboId id);
    const HiddenList* hidden(ComboId id) const;
    FormLabel* label(LabelId id) const;
    QPushButton* button(ButtonId id) const;
    QTimer& timer(TimerId id);
    const QTimer& timer(TimerId id) const;

    Form1* m_form = nullptr;
    qreal m_scale = 1;  ///< device pixels to each of the window's, in the pictures
    QPixmap m_background;

    ChoiceCombo* m_comboReg = nullptr;
    ChoiceCombo* m_combo1 = nullptr;
    ChoiceCombo* m_combo2 = nullptr;
    ChoiceCombo* m_comboKms = nullptr;
    HiddenList m_combo3;
    HiddenList m_combo4;

    FormLabel* m_label1 = nullptr;
    FormLabel* m_lblRegions = nullptr;
    FormLabel* m_labelinfo = nullptr;
    FormLabel* m_result2 = nullptr;
    FormLabel* m_lblNbrLoc = nullptr;

    QPushButton* m_cmdAbout = nullptr;
    QPushButton* m_cmdMinimise = nullptr;
    QPushButton* m_cmdQuit = nullptr;
    QPushButton* m_cmdCarte = nullptr;
    QPushButton* m_cmdItineraire = nullptr;

    QPlainTextEdit* m_text8 = nullptr;
    /// TxtURLMich, TxtURLMich2, TxtDepart0, TxtArrivee0, TxtDepart, TxtArrivee.
    std::array<std::string, 6> m_hiddenTexts;

    QAction* m_showMap = nullptr;
    QAction* m_saveList = nullptr;
    int m_handlersRunning = 0;
    bool m_listTouched = false;      ///< a running handler wrote Text8
    bool m_distanceTouched = false;  ///< a running handler wrote result2
    AnswerPicks m_picks;             ///< what the list and the distance stand for

    QTimer m_timer1;
    QTimer m_timer2;
    bool m_waiting = false;  ///< the hourglass is shown
};

}  // namespace localyx
