#include "ui/frmEOS1Main.h"

#include "store/component_selection.h"
#include "store/settings.h"
#include "ui/caption_ground.h"
#include "ui/component_completer.h"
#include "ui/font_faces.h"
#include "ui/guarded.h"
#include "ui/message_box.h"
#include "ui/result_cell.h"
#include "ui/twips.h"
#include "ui/window_registry.h"
#include "ui/window_style.h"
#include "ui/wrapping_check_box.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace ui {
namespace {

// Client area 9648 × 7236 twips; the background picture is 800 × 600 pixels.
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

/// A caption as the design has them: transparent, in its font and alignment.
QLabel* label(QWidget* parent, const char* name, const QString& text, QRect geometry,
              const QFont& font, Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(geometry);
    l->setFont(font);
    l->setAlignment(align);
    l->setAttribute(Qt::WA_TranslucentBackground);
    return l;
}

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

frmEOS1Main::DesignFonts::DesignFonts()
    : sansBoldUl(underlined(designFont("MS Sans Serif", 7.8, QFont::Bold))),
      sansBold(designFont("MS Sans Serif", 7.8, QFont::Bold)),
      arialBold(designFont("Arial", 9, QFont::Bold)),
      arialBoldUl(underlined(designFont("Arial", 9, QFont::Bold)))
{
}

void frmEOS1Main::createControls()
{
    const DesignFonts fonts;
    createEntries(fonts);
    createTwoPhaseGroup();
    createButtons();
    createSheet(fonts);
    CDlgVLE = new QFileDialog(this, "Open 'Components.mdb' Database");
    CDlgVLE->setObjectName("CDlgVLE");
    CDlgVLE->setFileMode(QFileDialog::ExistingFile);
    CDlgVLE->setNameFilters({"Component database (*.mdb)", "All files (*)"});
    connectControls();
}

void frmEOS1Main::createEntries(const DesignFonts& fonts)
{
    const QFont& sansBoldUl = fonts.sansBoldUl;
    const QFont& arialBoldUl = fonts.arialBoldUl;
    const QFont& arialBold = fonts.arialBold;
    Label6 = label(this, "Label6", "Component", twips(360, 360, 2172, kLabelHeight), sansBoldUl);
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

    Label1 = label(this, "Label1", "Conditions of State", twips(360, 1200, 2172, kLabelHeight),
                   arialBoldUl);
    Label3 =
        label(this, "Label3", "Temperature  (C)", twips(360, 1560, 1452, kLabelHeight), arialBold);
    txtTemp = new QLineEdit(this);
    txtTemp->setObjectName("txtTemp");
    txtTemp->setGeometry(twips(1920, 1560, 732, 288));
    setBackground(txtTemp, kPink);
    Label4 =
        label(this, "Label4", "Pressure  (bar)", twips(360, 1920, 1452, kLabelHeight), arialBold);
    txtPress = new QLineEdit(this);
    txtPress->setObjectName("txtPress");
    txtPress->setGeometry(twips(1920, 1920, 732, 288));
    setBackground(txtPress, kLightCyan);

    // Wider than drawn (3372 twips): the longest message line needs about 300 px in the
    // substitute face, and the space to its right is free down to the result grid.
    lblStCond = label(this, "lblStCond", "", twips(360, 2280, 5160, 852), font());
    lblStCond->setWordWrap(true);
    // The message holds component names: shown as typed, never read as HTML.
    lblStCond->setTextFormat(Qt::PlainText);

    chkStCalc = new WrappingCheckBox("Calculate HYPOTHETICAL Molar Volumes", this);
    chkStCalc->setObjectName("chkStCalc");
    chkStCalc->setGeometry(twips(360, 3240, 2412, 432));
    setBackground(chkStCalc, kLightGreen);
}

void frmEOS1Main::createTwoPhaseGroup()
{
    Label5 = label(this, "Label5", "Two-phase Equilibrium Conditions", twips(360, 3720, 2052, 492),
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
}

void frmEOS1Main::createButtons()
{
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
}

void frmEOS1Main::createSheet(const DesignFonts& fonts)
{
    const QFont& sansBoldUl = fonts.sansBoldUl;
    const QFont& sansBold = fonts.sansBold;
    const QFont& arialBold = fonts.arialBold;
    const Qt::Alignment centred = Qt::AlignHCenter | Qt::AlignTop;
    label(this, "Label7", "Density", twips(5280, 2640, 732, kLabelHeight), sansBoldUl, centred);
    label(this, "Label8", "SG", twips(5400, 2880, 492, kLabelHeight), sansBold, centred);
    QLabel* volumes =
        label(this, "Label16", "Molar Volumes (cm  /mol)", twips(6000, 2280, 2652, kLabelHeight),
              underlined(designFont("MS Sans Serif", 9.6, QFont::Bold)));
    QLabel* cubed = label(this, "Label11", "3", twips(7920, 2160, 132, kLabelHeight),
                          designFont("MS Sans Serif", 7.8, QFont::Bold));
    placeExponent(volumes, cubed);
    label(this, "lblLiq", "Liquid", twips(6120, 2760, 612, kLabelHeight), sansBold, centred);
    label(this, "lblVap", "Vapor", twips(6960, 2760, 612, kLabelHeight), sansBold, centred);
    label(this, "lblZ", "Z", twips(7680, 2760, 732, kLabelHeight), arialBold, centred);
    label(this, "Label9", "Density", twips(8520, 2640, 732, kLabelHeight), sansBoldUl, centred);
    label(this, "Label10", "kg/m3", twips(8520, 2880, 732, kLabelHeight), sansBold, centred);

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
            label(this, "lblEOS", QString::fromUtf8(state::rowCaption(row).data()),
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
}

void frmEOS1Main::connectControls()
{
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
