#include "ui/frmEOS1Main.h"

#include "core/sheet_export.h"
#include "store/component_selection.h"
#include "store/settings.h"
#include "ui/caption_ground.h"
#include "ui/component_choice.h"
#include "ui/component_completer.h"
#include "ui/font_faces.h"
#include "ui/frmCritConst1.h"
#include "ui/frmDiagrams.h"
#include "ui/frmEOS1Instruct.h"
#include "ui/frmInfoEOS.h"
#include "ui/guarded.h"
#include "ui/message_box.h"
#include "ui/result_cell.h"
#include "ui/save_file.h"
#include "ui/twips.h"
#include "ui/window_registry.h"
#include "ui/window_style.h"
#include "ui/wrapping_check_box.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace ui {
namespace {

// Client area 9648 × 7236 twips; the background picture is 800 × 600 pixels.
constexpr int kClientWidth = 9648;
constexpr int kClientHeight = 7236;
const QColor kPink(255, 192, 192);
const QColor kLightCyan(192, 255, 255);
const QColor kLightGreen(200, 252, 224);
const QColor kPaleGreenBackground(238, 248, 238);

QRect twips(int left, int top, int width, int height)
{
    return twipsRect(left, top, width, height);
}

int px(int twips) { return twipsToPixels(twips); }

QColor fromBgr(std::int32_t bgr) { return {bgr & 0xff, (bgr >> 8) & 0xff, (bgr >> 16) & 0xff}; }

// Entry boxes and check boxes take their colour in every role they paint.
void setBackground(QWidget* w, const QColor& color)
{
    fillBackground(w, color, {QPalette::Base, QPalette::Button, QPalette::Window});
}

/// Sets the superscript over the gap of two blanks the caption leaves after "cm", wherever the
/// face in use puts that gap.
void placeExponent(const QLabel* caption, QLabel* exponent)
{
    const QString text = caption->text();
    const int gap = static_cast<int>(text.indexOf("  "));
    const QFontMetrics fm(caption->font());
    const int gapLeft = fm.horizontalAdvance(text.left(gap));
    const int gapWidth = fm.horizontalAdvance("  ");
    const int glyph = QFontMetrics(exponent->font()).horizontalAdvance(exponent->text());
    QRect r = exponent->geometry();
    r.moveLeft(caption->x() + gapLeft + (gapWidth - glyph) / 2);
    exponent->setGeometry(r);
}

/// The component list as the selection logic sees it.
class ComboList final : public store::ComponentList {
public:
    explicit ComboList(QComboBox* combo) : m_combo(combo) {}
    int count() const override { return m_combo->count(); }
    void setItem(int i, const std::string& text) override
    {
        if (i >= m_combo->count())
            m_combo->addItem(fromStd(text));
        else
            m_combo->setItemText(i, fromStd(text));
    }
    // The source shows as the entry's tooltip in the drop-down list.
    void setItemSource(int i, const std::string& source) override
    {
        const QVariant tip = source.empty() ? QVariant() : QVariant(plainToolTip(fromStd(source)));
        if (m_combo->itemData(i, Qt::ToolTipRole) != tip)
            m_combo->setItemData(i, tip, Qt::ToolTipRole);
    }
    void removeFrom(int i) override
    {
        while (m_combo->count() > i)
            m_combo->removeItem(m_combo->count() - 1);
    }
    int currentIndex() const override { return m_combo->currentIndex(); }
    void setCurrentIndex(int i) override
    {
        m_combo->setCurrentIndex(i < m_combo->count() ? i : -1);
    }
    std::string currentText() const override
    {
        const int i = m_combo->currentIndex();
        return i < 0 ? std::string() : toStd(m_combo->itemText(i));
    }

private:
    QComboBox* m_combo;
};

/// The message box and the file dialog LoadDatabase may need, before the window is shown.
class WindowPrompts final : public store::LoadDatabasePrompts {
public:
    explicit WindowPrompts(QFileDialog* dialog) : m_dialog(dialog) {}
    void showMessage(const std::string& prompt, const std::string& title) override
    {
        showMessageBox(nullptr, fromStd(prompt), fromStd(title));
    }
    std::string askForFile() override
    {
        if (m_dialog->exec() != QDialog::Accepted || m_dialog->selectedFiles().isEmpty())
            return {};
        return toStd(m_dialog->selectedFiles().front());
    }

private:
    QFileDialog* m_dialog;
};

} // namespace

frmEOS1Main::frmEOS1Main(QWidget* parent) : QWidget(parent)
{
    setObjectName("frmEOS1Main");
    setWindowTitle(appTitle());
    setWindowFlags(kFixedWindowFlags);
    setFixedSize(px(kClientWidth), px(kClientHeight));
    setFont(designFont("MS Sans Serif", 7.8));

    createControls();
    m_background = backgroundClearOfCaptions(this, "background.svg", {800, 600});
    setTabOrder();
    connect(qApp, &QApplication::focusChanged, this, &frmEOS1Main::onFocusChanged);
    // Ctrl+C and the result area's menu are caught on their way to the controls.
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
}

frmEOS1Main::~frmEOS1Main()
{
    // ~QWidget deletes the controls after this body has run; the focused one then reports a
    // focus change, which must not reach onFocusChanged of a window no longer whole.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    Form_Unload();
}

void frmEOS1Main::createControls()
{
    const auto label = [this](const char* name, const QString& text, QRect geometry,
                              const QFont& font,
                              Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop) {
        auto* l = new QLabel(text, this);
        l->setObjectName(name);
        l->setGeometry(geometry);
        l->setFont(font);
        l->setAlignment(align);
        l->setAttribute(Qt::WA_TranslucentBackground);
        return l;
    };
    const QFont sansBoldUl = underlined(designFont("MS Sans Serif", 7.8, QFont::Bold));
    const QFont sansBold = designFont("MS Sans Serif", 7.8, QFont::Bold);
    const QFont arialBold = designFont("Arial", 9, QFont::Bold);
    const QFont arialBoldUl = underlined(designFont("Arial", 9, QFont::Bold));
    const Qt::Alignment centred = Qt::AlignHCenter | Qt::AlignTop;

    Label6 = label("Label6", "Component", twips(360, 360, 2172, kLabelHeight), sansBoldUl);
    cmbComp = new QComboBox(this);
    cmbComp->setObjectName("cmbComp");
    cmbComp->setGeometry(twips(240, 720, 1932, 288));
    cmbComp->setEditable(true);
    cmbComp->setInsertPolicy(QComboBox::NoInsert);
    cmbComp->setMaxVisibleItems(20);
    m_finder = new ComponentCompleter(cmbComp);

    cmdSolve = new QPushButton("Solve", this);
    cmdSolve->setObjectName("cmdSolve");
    cmdSolve->setGeometry(twips(2520, 600, 1092, 612));
    cmdSolve->setFont(designFont("Arial Black", 9, QFont::Black));

    Label1 =
        label("Label1", "Conditions of State", twips(360, 1200, 2172, kLabelHeight), arialBoldUl);
    Label3 = label("Label3", "Temperature  (C)", twips(360, 1560, 1452, kLabelHeight), arialBold);
    txtTemp = new QLineEdit(this);
    txtTemp->setObjectName("txtTemp");
    txtTemp->setGeometry(twips(1920, 1560, 732, 288));
    setBackground(txtTemp, kPink);
    Label4 = label("Label4", "Pressure  (bar)", twips(360, 1920, 1452, kLabelHeight), arialBold);
    txtPress = new QLineEdit(this);
    txtPress->setObjectName("txtPress");
    txtPress->setGeometry(twips(1920, 1920, 732, 288));
    setBackground(txtPress, kLightCyan);

    // Wider than drawn (3372 twips): the longest message line needs about 300 px in the
    // substitute face, and the space to its right is free down to the result grid.
    lblStCond = label("lblStCond", "", twips(360, 2280, 5160, 852), font());
    lblStCond->setWordWrap(true);
    // The message holds component names: shown as typed, never read as HTML.
    lblStCond->setTextFormat(Qt::PlainText);

    chkStCalc = new WrappingCheckBox("Calculate HYPOTHETICAL Molar Volumes", this);
    chkStCalc->setObjectName("chkStCalc");
    chkStCalc->setGeometry(twips(360, 3240, 2412, 432));
    setBackground(chkStCalc, kLightGreen);

    Label5 = label("Label5", "Two-phase Equilibrium Conditions", twips(360, 3720, 2052, 492),
                   designFont("MS Serif", 9.6));
    Label5->setWordWrap(true);
    Label5->setContentsMargins(px(120), 2, 0, 0);
    const char* optCaptions[] = {"Temperature", "Pressure"};
    const QRect optGeometry[] = {twips(360, 4320, 1212, kLabelHeight),
                                 twips(360, 4680, 972, kLabelHeight)};
    for (int i = 0; i < 2; ++i) {
        auto* o = new QRadioButton(optCaptions[i], this);
        o->setObjectName(QString("optEqState_%1").arg(i));
        o->setGeometry(optGeometry[i]);
        o->setAutoExclusive(false); // the view model keeps at most one selected
        setBackground(o, kLightGreen);
        connect(o, &QRadioButton::clicked, this, [this, i] { optEqState_Click(i); });
        optEqState[static_cast<std::size_t>(i)] = o;
    }
    // The frame of the two-phase group, from (240, 3720) to (2400, 5040).
    const QRect lineGeometry[] = {
        QRect(px(240), px(3720), px(2160), 1), QRect(px(2400), px(3720), 1, px(1320)),
        QRect(px(240), px(5040), px(2160) + 1, 1), QRect(px(240), px(3720), 1, px(1320))};
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        auto* line = new QFrame(this);
        line->setObjectName(QString("Line%1").arg(i + 1));
        line->setGeometry(lineGeometry[i]);
        line->setStyleSheet("background-color: black;");
        Lines[i] = line;
    }

    const auto button = [this](const char* name, const char* caption, QRect geometry) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setGeometry(geometry);
        return b;
    };
    cmdCompList = button("cmdCompList", "EOS Constants", twips(6600, 240, 1092, 612));
    cmdDataForm = button("cmdDataForm", "Information", twips(8160, 240, 1092, 612));
    cmdInstruct1 = button("cmdInstruct1", "Instructions", twips(8160, 960, 1092, 612));
    cmdDiagrams = button("cmdDiagrams", "Diagrams", twips(6600, 960, 1092, 612));

    label("Label7", "Density", twips(5280, 2640, 732, kLabelHeight), sansBoldUl, centred);
    label("Label8", "SG", twips(5400, 2880, 492, kLabelHeight), sansBold, centred);
    QLabel* volumes =
        label("Label16", "Molar Volumes (cm  /mol)", twips(6000, 2280, 2652, kLabelHeight),
              underlined(designFont("MS Sans Serif", 9.6, QFont::Bold)));
    QLabel* cubed = label("Label11", "3", twips(7920, 2160, 132, kLabelHeight),
                          designFont("MS Sans Serif", 7.8, QFont::Bold));
    placeExponent(volumes, cubed);
    label("lblLiq", "Liquid", twips(6120, 2760, 612, kLabelHeight), sansBold, centred);
    label("lblVap", "Vapor", twips(6960, 2760, 612, kLabelHeight), sansBold, centred);
    label("lblZ", "Z", twips(7680, 2760, 732, kLabelHeight), arialBold, centred);
    label("Label9", "Density", twips(8520, 2640, 732, kLabelHeight), sansBoldUl, centred);
    label("Label10", "kg/m3", twips(8520, 2880, 732, kLabelHeight), sansBold, centred);

    constexpr std::array<int, state::kColCount> kColLeft = {5400, 6120, 6840, 7680, 8640};
    constexpr std::array<int, state::kColCount> kColWidth = {492, 660, 720, 720, 492};
    constexpr std::array<int, state::kRowCount> kRowTop = {3120, 3480, 3960, 4320, 4800,
                                                           5160, 5520, 6000, 6360};
    constexpr std::array<int, state::kRowCount> kCaptionWidth = {852,  1332, 1332, 1932, 1452,
                                                                 1572, 1572, 1932, 1572};
    const QFont cellFont = designFont("MS Sans Serif", 7.2);
    for (int r = 0; r < state::kRowCount; ++r) {
        const auto row = static_cast<state::Row>(r);
        const auto ri = static_cast<std::size_t>(r);
        auto* caption =
            label("lblEOS", QString::fromUtf8(state::rowCaption(row).data()),
                  twips(3240, kRowTop[ri], kCaptionWidth[ri], kLabelHeight), sansBoldUl);
        caption->setObjectName(QString("lblEOS_%1").arg(r));
        lblEOS[ri] = caption;
    }
    std::size_t n = 0;
    for (state::CellId id : state::allCells()) {
        const auto c = static_cast<std::size_t>(id.col);
        auto* cell = new ResultCell(cellFont, this);
        cell->setObjectName(QString::fromStdString(state::cellName(id)));
        cell->setGeometry(
            twips(kColLeft[c], kRowTop[static_cast<std::size_t>(id.row)], kColWidth[c], 288));
        m_cells[n++] = cell;
        m_cellOf.emplace(cell, id);
    }

    chkSphMol = new WrappingCheckBox("Spherical Molecule Shape factor", this);
    chkSphMol->setObjectName("chkSphMol");
    chkSphMol->setGeometry(twips(5280, 6000, 1332, 300));
    chkSphMol->setFont(designFont("Small Fonts", 6));
    setBackground(chkSphMol, kLightGreen);

    CDlgVLE = new QFileDialog(this, "Open 'Components.mdb' Database");
    CDlgVLE->setObjectName("CDlgVLE");
    CDlgVLE->setFileMode(QFileDialog::ExistingFile);
    CDlgVLE->setNameFilters({"Component database (*.mdb)", "All files (*)"});

    connect(cmdSolve, &QPushButton::clicked, this, &frmEOS1Main::cmdSolve_Click);
    connect(cmdDataForm, &QPushButton::clicked, this, &frmEOS1Main::cmdDataForm_Click);
    connect(cmdCompList, &QPushButton::clicked, this, &frmEOS1Main::cmdCompList_Click);
    connect(cmdInstruct1, &QPushButton::clicked, this, &frmEOS1Main::cmdInstruct1_Click);
    connect(cmdDiagrams, &QPushButton::clicked, this, &frmEOS1Main::cmdDiagrams_Click);
    connect(chkStCalc, &QCheckBox::clicked, this, &frmEOS1Main::chkStCalc_Click);
    connect(chkSphMol, &QCheckBox::clicked, this, &frmEOS1Main::chkSphMol_Click);
    // Typing updates the box texts the handlers read.
    connect(txtTemp, &QLineEdit::textEdited, this,
            [this](const QString& t) { guarded(this, [&] { m_vm.setTxtTemp(toStd(t)); }); });
    connect(txtPress, &QLineEdit::textEdited, this,
            [this](const QString& t) { guarded(this, [&] { m_vm.setTxtPress(toStd(t)); }); });
}

void frmEOS1Main::setTabOrder()
{
    std::vector<QWidget*> order = {cmbComp,      txtTemp,       txtPress,      cmdSolve,
                                   chkStCalc,    optEqState[0], optEqState[1], cmdDataForm,
                                   cmdInstruct1, cmdCompList,   cmdDiagrams};
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        if (state::allCells()[i].row == state::Row::ESD &&
            state::allCells()[i].col == state::Col::Vap)
            order.push_back(chkSphMol);
        order.push_back(m_cells[i]);
    }
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void frmEOS1Main::Form_Load(store::Settings& settings, const std::string& defaultDbPath)
{
    WindowPrompts prompts(CDlgVLE);
    m_db.LoadDatabase(settings, defaultDbPath, prompts);
    // The editor window opens its own connection from the same source.
    m_settings = settings;
    m_defaultDbPath = defaultDbPath;
    // The list is the first control of the focus order: it has the focus when the window
    // appears, and its focus handler fills it now rather than whenever the window manager
    // gets round to activating the window.
    cmbComp->setFocus(Qt::OtherFocusReason);
    m_current = cmbComp;
    cmbComp_GotFocus();
}

void frmEOS1Main::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_db.unload();
}

void frmEOS1Main::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void frmEOS1Main::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), kPaleGreenBackground);
    p.drawPixmap(0, 0, m_background);
}

// ---- focus ---------------------------------------------------------------------------------

void frmEOS1Main::onFocusChanged(QWidget* /*old*/, QWidget* now)
{
    guarded(this, [&] { focusMoved(now); });
}

void frmEOS1Main::focusMoved(QWidget* now)
{
    // Only moves between this window's own controls count: activating another window, a
    // message box or the list's popup takes the focus away and gives it back to the same
    // control, which is not a move.
    if (now == nullptr || now->window() != this || now == m_current)
        return;
    QWidget* previous = m_current;
    m_current = now;
    if (rejecting()) {
        if (now == m_restoreTarget) {
            m_restoreTarget = nullptr;
            gotFocus(now);
        }
        return;
    }
    if (previous != nullptr && !lostFocus(previous))
        return;
    gotFocus(now);
}

void frmEOS1Main::gotFocus(QWidget* w)
{
    if (w == cmbComp) {
        cmbComp_GotFocus();
    } else if (w == txtTemp || w == txtPress) {
        auto* box = static_cast<QLineEdit*>(w);
        const core::Selection s = core::MainViewModel::txt_GotFocus(toStd(box->text()));
        // Deferred: a mouse press that gave the focus would otherwise move the cursor after us.
        QMetaObject::invokeMethod(
            box, [box, s] { box->setSelection(s.start, s.length); }, Qt::QueuedConnection);
    }
}

bool frmEOS1Main::lostFocus(QWidget* w)
{
    core::Effects fx;
    if (w == cmbComp) {
        cmbComp_LostFocus();
        return true;
    }
    if (w == txtTemp)
        fx = m_vm.txtTemp_LostFocus();
    else if (w == txtPress)
        fx = m_vm.txtPress_LostFocus();
    else
        return true;
    refresh();
    if (!fx.message)
        return true;
    // The entry was rejected. The message box opens once the focus event is over; until the
    // focus is back in the box no handler of another control acts, so neither the clicked
    // button nor the gaining box's handlers run.
    m_restoreTarget = fx.focus == core::FocusTarget::txtPress ? txtPress : txtTemp;
    QMetaObject::invokeMethod(
        this, [this, fx] { guarded(this, [&] { showRejection(fx); }); }, Qt::QueuedConnection);
    return false;
}

void frmEOS1Main::showRejection(const core::Effects& fx)
{
    for (QAbstractButton* b : findChildren<QAbstractButton*>())
        b->setDown(false);
    showMessageBox(this, fromStd(fx.message->prompt), fromStd(fx.message->title));
    // Back into the erased box. The move is made here rather than left to the focus
    // signal, which does not come while the window waits to be activated again.
    QWidget* target = m_restoreTarget;
    if (target == nullptr)
        return;
    m_current = target;
    activateWindow();
    target->setFocus(Qt::OtherFocusReason);
    m_restoreTarget = nullptr;
    gotFocus(target);
}

void frmEOS1Main::applyEffects(const core::Effects& fx)
{
    if (fx.message)
        showMessageBox(this, fromStd(fx.message->prompt), fromStd(fx.message->title));
    if (fx.focus)
        (*fx.focus == core::FocusTarget::txtTemp ? txtTemp : txtPress)
            ->setFocus(Qt::OtherFocusReason);
}

// ---- handlers ------------------------------------------------------------------------------

void frmEOS1Main::cmdSolve_Click()
{
    guarded(this, [&] {
        if (rejecting())
            return;
        m_vm.cmdSolve_Click();
        refresh();
        updateDiagrams();
    });
}

void frmEOS1Main::optEqState_Click(int index)
{
    guarded(this, [&] {
        if (rejecting()) {
            refresh();
            return;
        }
        const core::Effects fx = m_vm.optEqState_Click(index);
        refresh();
        applyEffects(fx);
    });
}

// While a rejected entry waits for its message box, a click on a check box changes nothing:
// refresh() puts back the state the view model holds.
void frmEOS1Main::chkStCalc_Click(bool ticked)
{
    guarded(this, [&] {
        if (!rejecting())
            m_vm.setChkStCalc(ticked);
        refresh();
    });
}

void frmEOS1Main::chkSphMol_Click(bool ticked)
{
    guarded(this, [&] {
        if (!rejecting())
            m_vm.setChkSphMol(ticked);
        refresh();
    });
}

void frmEOS1Main::cmbComp_GotFocus()
{
    guarded(this, [&] {
        ComboList list(cmbComp);
        showComponentList(m_db, list, m_vm);
        m_finder->entriesChanged();
        refresh();
    });
}

void frmEOS1Main::cmbComp_LostFocus()
{
    guarded(this, [&] {
        m_finder->settleTypedText();
        ComboList list(cmbComp);
        if (takeSelectedComponent(m_db, list, m_vm))
            updateDiagrams();
        refresh();
    });
}

void frmEOS1Main::cmdDataForm_Click()
{
    guarded(this, [&] {
        if (!rejecting())
            showSingle<frmInfoEOS>();
    });
}

void frmEOS1Main::cmdInstruct1_Click()
{
    guarded(this, [&] {
        if (!rejecting())
            showSingle<frmEOS1Instruct>();
    });
}

void frmEOS1Main::cmdCompList_Click()
{
    guarded(this, [&] {
        if (rejecting())
            return;
        if (!m_settings) { // not loaded: the user's own settings, as the program would use
            m_settings = store::Settings::forUser();
            m_defaultDbPath = store::defaultDatabasePath();
        }
        showSingle<frmCritConst1>(*m_settings, m_defaultDbPath);
    });
}

// ---- results out ---------------------------------------------------------------------------

namespace {

// The result area: from the row captions to the right edge, from the column headings down to
// the bottom edge, so the empty space below the last row belongs to it too (twips).
constexpr int kResultLeft = 3240;
constexpr int kResultTop = 2160;
const QRect kResultArea =
    twipsRect(kResultLeft, kResultTop, kClientWidth - kResultLeft, kClientHeight - kResultTop);

/// The entry box whose selected text Ctrl+C copies, if the key goes to one that has some.
const QLineEdit* selectingEdit(QObject* watched)
{
    const auto* edit = qobject_cast<const QLineEdit*>(watched);
    if (const auto* combo = qobject_cast<const QComboBox*>(watched))
        edit = combo->lineEdit();
    return edit != nullptr && edit->hasSelectedText() ? edit : nullptr;
}

} // namespace

void frmEOS1Main::copyResults()
{
    const core::TextTable table = core::exportSheet(m_vm.resultsView());
    auto* mime = new QMimeData;
    mime->setText(fromStd(core::toTsv(table)));
    mime->setHtml(fromStd(core::toHtml(table)));
    QApplication::clipboard()->setMimeData(mime);
}

bool frmEOS1Main::saveResultsAsCsv(const QString& path)
{
    const std::optional<QString> failed =
        saveFile(path, core::toCsv(core::exportSheet(m_vm.resultsView())));
    if (!failed)
        return true;
    showMessageBox(this, "Results not saved to " + path + ":\n" + *failed, "Save results");
    return false;
}

void frmEOS1Main::cmdSaveResults_Click()
{
    const QString path = QFileDialog::getSaveFileName(this, "Save results as CSV", QString(),
                                                      "CSV files (*.csv);;All files (*)");
    if (!path.isEmpty())
        saveResultsAsCsv(path);
}

QMenu* frmEOS1Main::resultsMenu(QMenu* standard)
{
    QMenu* menu = standard != nullptr ? standard : new QMenu(this);
    if (standard != nullptr)
        menu->addSeparator();
    menu->addAction("Copy results", this, &frmEOS1Main::copyResults);
    menu->addAction("Save results as CSV\u2026", this, &frmEOS1Main::cmdSaveResults_Click);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    return menu;
}

void frmEOS1Main::contextMenuEvent(QContextMenuEvent* event)
{
    if (!kResultArea.contains(event->pos()) || rejecting())
        return;
    resultsMenu()->popup(event->globalPos());
}

bool frmEOS1Main::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy) &&
        selectingEdit(watched) == nullptr) {
        if (!rejecting())
            copyResults();
        return true;
    }
    if (event->type() == QEvent::ContextMenu && !rejecting()) {
        auto* cell = qobject_cast<QLineEdit*>(watched);
        if (cell != nullptr && m_cellOf.contains(cell)) {
            resultsMenu(cell->createStandardContextMenu())
                ->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmEOS1Main::cmdDiagrams_Click()
{
    guarded(this, [&] {
        if (rejecting())
            return;
        const bool wasOpen = openSingle<frmDiagrams>() != nullptr;
        showSingle<frmDiagrams>(m_settings);
        if (!wasOpen)
            updateDiagrams();
    });
}

void frmEOS1Main::updateDiagrams()
{
    frmDiagrams* diagrams = openSingle<frmDiagrams>();
    if (diagrams == nullptr)
        return;
    // The diagrams draw the state the view model holds, so they are titled with the name of
    // the component it was loaded from (the list may show a name whose load failed).
    diagrams->showState(m_vm, m_db, m_vm.component(), m_vm.sheetCurrent(),
                        m_vm.solvedFrom().has_value());
}

// ---- binding -------------------------------------------------------------------------------

void frmEOS1Main::refresh()
{
    lblStCond->setText(fromStd(m_vm.lblStCond()).replace("\r\n", "\n"));
    const auto setText = [](QLineEdit* box, const std::string& text) {
        const QString t = fromStd(text);
        if (box->text() != t)
            box->setText(t);
    };
    setText(txtTemp, m_vm.txtTemp());
    setText(txtPress, m_vm.txtPress());
    chkStCalc->setChecked(m_vm.chkStCalc());
    chkSphMol->setChecked(m_vm.chkSphMol());
    for (int i = 0; i < 2; ++i) {
        QRadioButton* o = optEqState[static_cast<std::size_t>(i)];
        o->setChecked(m_vm.optEqStateSelected(i));
        o->setEnabled(m_vm.optEqStateEnabled(i));
    }
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        const state::Cell& c = m_vm.sheet().cell(state::allCells()[i]);
        setText(m_cells[i], c.text);
        QPalette pal = m_cells[i]->palette();
        if (pal.color(QPalette::Base) != fromBgr(c.color)) {
            pal.setColor(QPalette::Base, fromBgr(c.color));
            m_cells[i]->setPalette(pal);
        }
    }
}

} // namespace ui
