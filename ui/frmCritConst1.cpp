#include "ui/frmCritConst1.h"

#include "store/settings.h"
#include "ui/font_faces.h"
#include "ui/guarded.h"
#include "ui/message_box.h"
#include "ui/twips.h"
#include "ui/window_style.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ui {
namespace {

// Client area 5772 × 3912 twips.
constexpr int kClientWidth = 5772;
constexpr int kClientHeight = 3912;
const QColor kLightGrey(192, 192, 192);

// The critical constants and the kappa boxes each stand in a column with these tops (twips).
constexpr int kCritTops[] = {1560, 1920, 2280, 2760};
constexpr int kKappaTops[] = {1524, 1824, 2124};

constexpr int kButtonHeight = 300;
// The navigation strip ends at the window's bottom edge, so its buttons are drawn a little
// shorter and lower than the strip: their frames stop clear of both the command buttons above
// and the edge below.
constexpr int kNavTop = 15;
constexpr int kNavHeight = 255;

EditorKey editorKey(int key)
{
    switch (key) {
    case Qt::Key_Escape:
        return EditorKey::Escape;
    case Qt::Key_End:
        return EditorKey::End;
    case Qt::Key_Home:
        return EditorKey::Home;
    case Qt::Key_Up:
        return EditorKey::Up;
    case Qt::Key_PageUp:
        return EditorKey::PageUp;
    case Qt::Key_Down:
        return EditorKey::Down;
    case Qt::Key_PageDown:
        return EditorKey::PageDown;
    default:
        return EditorKey::Other;
    }
}

} // namespace

frmCritConst1::frmCritConst1(const store::Settings& settings, const std::string& defaultPath,
                             QWidget* parent)
    : QWidget(parent), m_editor(*this)
{
    setObjectName("frmCritConst1");
    setWindowTitle("Critical Constants - Eq of State");
    setWindowFlags(kFixedWindowFlags);
    setFixedSize(twipsSize(kClientWidth, kClientHeight));
    setFont(designFont("MS Sans Serif", 7.8));
    fillBackground(this, kLightGrey);

    createControls();
    connectButtons();
    installEventFilter(this);
    for (QWidget* w : m_boxes)
        w->installEventFilter(this);
    for (QWidget* w : m_buttons)
        w->installEventFilter(this);

    guarded(this, [&] { m_editor.Form_Load(settings, defaultPath); });
}

frmCritConst1::~frmCritConst1() = default;

void frmCritConst1::createControls()
{
    const QFont labelFont = designFont("MS Sans Serif", 7.8, QFont::Bold);
    const QFont boxFont = designFont("MS Sans Serif", 7.8, QFont::Bold);
    const QFont kappaBoxFont = designFont("MS Sans Serif", 7.8);
    const QFont greekFont = designFont("Symbol", 9);

    const auto label = [this](const QString& text, QRect geometry, const QFont& font) {
        auto* l = new QLabel(text, this);
        l->setGeometry(geometry);
        l->setFont(font);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return l;
    };
    const auto entry = [this](EditorBox b, const char* name, QRect geometry, const QFont& font) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setGeometry(geometry);
        e->setFont(font);
        m_boxes[static_cast<std::size_t>(b)] = e;
    };

    label("Compound:", twipsRect(120, 180, 1452, 372),
          designFont("MS Sans Serif", 9.6, QFont::Bold));
    entry(EditorBox::txtCompound, "txtCompound", twipsRect(1560, 180, 3972, 408),
          designFont("MS Sans Serif", 9.6, QFont::Bold));
    label("Molecular Weight (g / mol)", twipsRect(120, 720, 2412, kLabelHeight),
          underlined(labelFont));
    entry(EditorBox::txtMW, "txtMW", twipsRect(2640, 720, 612, 288), boxFont);

    label("Critical Constants", twipsRect(240, 1200, 2052, kLabelHeight), underlined(labelFont));
    const char* critLabels[] = {"Temperature (K)", "Pressure (bar)", "Volume (cm3/mol)",
                                "Acentric Factor"};
    const std::pair<EditorBox, const char*> critBoxes[] = {{EditorBox::txtTcrit, "txtTcrit"},
                                                           {EditorBox::txtPcrit, "txtPcrit"},
                                                           {EditorBox::txtVcrit, "txtVcrit"},
                                                           {EditorBox::txtAcent, "txtAcent"}};
    for (std::size_t i = 0; i < 4; ++i) {
        label(critLabels[i], twipsRect(240, kCritTops[i], 1392, kLabelHeight), labelFont);
        entry(critBoxes[i].first, critBoxes[i].second, twipsRect(1680, kCritTops[i], 732, 276),
              boxFont);
    }

    label("PRSV Constants", twipsRect(3360, 1200, 1572, kLabelHeight),
          underlined(designFont("MS Sans Serif", 7.8, QFont::Black)));
    const std::pair<EditorBox, const char*> kappaBoxes[] = {
        {EditorBox::txtK1, "txtK1"}, {EditorBox::txtK2, "txtK2"}, {EditorBox::TxtK3, "TxtK3"}};
    const char* indices[] = {"(1)", "(2)", "(3)"};
    const char* notes[] = {"PRSV1 and 2", "PRSV2", "PRSV2"};
    for (std::size_t i = 0; i < 3; ++i) {
        const int top = kKappaTops[i];
        // The design draws the letter k in the Symbol face; Unicode kappa in a Greek-capable
        // face shows the same glyph.
        QLabel* kappa = label(QString(QChar(0x03BA)), twipsRect(3120, top, 120, 300), greekFont);
        kappa->setObjectName(QString("lblKappa_%1").arg(i + 1));
        label(indices[i], twipsRect(3240, top, 360, 300), labelFont);
        entry(kappaBoxes[i].first, kappaBoxes[i].second, twipsRect(3720, top, 732, 300),
              kappaBoxFont);
        label(notes[i], twipsRect(4680, top, 1032, kLabelHeight), labelFont);
    }

    // The source codes are listed in the credits; a long source scrolls in its box and shows
    // whole in the box's tooltip.
    label("Source", twipsRect(2640, kCritTops[3], 672, kLabelHeight), labelFont);
    entry(EditorBox::txtSource, "txtSource", twipsRect(3360, kCritTops[3], 2292, 276),
          kappaBoxFont);
    connect(box(EditorBox::txtSource), &QLineEdit::textChanged, this,
            &frmCritConst1::updateSourceTip);

    createButtonStrips();
}

void frmCritConst1::createButtonStrips()
{
    auto* picButtons = new QWidget(this);
    picButtons->setObjectName("picButtons");
    picButtons->setGeometry(twipsRect(0, 3312, kClientWidth, 300));
    auto* picStatBox = new QWidget(this);
    picStatBox->setObjectName("picStatBox");
    picStatBox->setGeometry(twipsRect(0, 3612, kClientWidth, 300));

    struct ButtonSpec {
        EditorButton id;
        const char* name;
        const char* caption;
        QWidget* strip;
        int left;
        int width;
    };
    const ButtonSpec buttons[] = {
        {EditorButton::cmdAdd, "cmdAdd", "&Add", picButtons, 60, 732},
        {EditorButton::cmdEdit, "cmdEdit", "&Edit", picButtons, 840, 732},
        {EditorButton::cmdUpdate, "cmdUpdate", "&Update", picButtons, 1620, 732},
        {EditorButton::cmdDelete, "cmdDelete", "&Delete", picButtons, 2400, 732},
        {EditorButton::cmdCancel, "cmdCancel", "&Cancel", picButtons, 3240, 732},
        {EditorButton::cmdClose, "cmdClose", "&Close", picButtons, 4080, 852},
        {EditorButton::cmdFirst, "cmdFirst", "|<<", picStatBox, 60, 600},
        {EditorButton::cmdPrevious, "cmdPrevious", "<", picStatBox, 720, 345},
        {EditorButton::cmdNext, "cmdNext", ">", picStatBox, 3960, 345},
        {EditorButton::cmdLast, "cmdLast", ">>|", picStatBox, 4320, 600},
    };
    for (const ButtonSpec& s : buttons) {
        auto* b = new QPushButton(s.caption, s.strip);
        b->setObjectName(s.name);
        const bool navigation = s.strip == picStatBox;
        b->setGeometry(twipsRect(s.left, navigation ? kNavTop : 0, s.width,
                                 navigation ? kNavHeight : kButtonHeight));
        b->setAutoDefault(false);
        m_buttons[static_cast<std::size_t>(s.id)] = b;
    }
    // Shown by Add and Edit only.
    button(EditorButton::cmdUpdate)->hide();
    button(EditorButton::cmdCancel)->hide();

    lblStatus = new QLabel(picStatBox);
    lblStatus->setObjectName("lblStatus");
    lblStatus->setGeometry(twipsRect(1080, 0, 2856, 288));
    lblStatus->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblStatus->setTextFormat(Qt::PlainText); // it quotes what the user typed
    fillBackground(lblStatus, Qt::white);
}

void frmCritConst1::connectButtons()
{
    using Handler = void (CritConstEditor::*)();
    const std::pair<EditorButton, Handler> handlers[] = {
        {EditorButton::cmdAdd, &CritConstEditor::cmdAdd_Click},
        {EditorButton::cmdEdit, &CritConstEditor::cmdEdit_Click},
        {EditorButton::cmdUpdate, &CritConstEditor::cmdUpdate_Click},
        {EditorButton::cmdDelete, &CritConstEditor::cmdDelete_Click},
        {EditorButton::cmdCancel, &CritConstEditor::cmdCancel_Click},
        {EditorButton::cmdClose, &CritConstEditor::cmdClose_Click},
        {EditorButton::cmdFirst, &CritConstEditor::cmdFirst_Click},
        {EditorButton::cmdPrevious, &CritConstEditor::cmdPrevious_Click},
        {EditorButton::cmdNext, &CritConstEditor::cmdNext_Click},
        {EditorButton::cmdLast, &CritConstEditor::cmdLast_Click},
    };
    for (const auto& [id, handler] : handlers)
        connect(button(id), &QPushButton::clicked, this,
                [this, h = handler] { guarded(this, [&] { (m_editor.*h)(); }); });
}

bool frmCritConst1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    // A key a control leaves unused travels on to the window; act on it once, at the control.
    if (watched == this && focusWidget())
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const EditorKey k = editorKey(key->key());
    if (k == EditorKey::Other)
        return false;
    const Qt::KeyboardModifiers m = key->modifiers();
    guarded(this, [&] {
        m_editor.Form_KeyDown(k, {m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::ControlModifier),
                                  m.testFlag(Qt::AltModifier)});
    });
    // The focused control still gets the key.
    return false;
}

void frmCritConst1::closeEvent(QCloseEvent* event)
{
    m_editor.Form_Unload();
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    unsetCursor();
    event->accept();
}

// ---- CritConstView ------------------------------------------------------------------

std::string frmCritConst1::boxText(EditorBox b) const { return toStd(box(b)->text()); }

void frmCritConst1::setBoxText(EditorBox b, const std::string& text)
{
    box(b)->setText(fromStd(text));
    // A source is read from its start (the first codes are the critical constants').
    if (b == EditorBox::txtSource)
        box(b)->setCursorPosition(0);
}

void frmCritConst1::setBoxReadOnly(EditorBox b, bool readOnly)
{
    box(b)->setReadOnly(readOnly);
    updateSourceTip();
}

void frmCritConst1::updateSourceTip()
{
    QLineEdit* source = box(EditorBox::txtSource);
    source->setToolTip(source->isReadOnly() && source->text().isEmpty()
                           ? QStringLiteral("This database file has no Source field.")
                           : plainToolTip(source->text()));
}

void frmCritConst1::setStatus(const std::string& text) { lblStatus->setText(fromStd(text)); }

void frmCritConst1::setButtonVisible(EditorButton b, bool visible)
{
    button(b)->setVisible(visible);
}

void frmCritConst1::setButtonEnabled(EditorButton b, bool enabled)
{
    button(b)->setEnabled(enabled);
}

void frmCritConst1::focusCompound() { box(EditorBox::txtCompound)->setFocus(Qt::OtherFocusReason); }

void frmCritConst1::beep() { QApplication::beep(); }

void frmCritConst1::showMessage(const std::string& prompt, const std::string& title)
{
    showMessageBox(this, fromStd(prompt), fromStd(title));
}

void frmCritConst1::closeWindow() { close(); }

} // namespace ui
