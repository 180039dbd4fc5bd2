#include "ui/frmDiagrams.h"

#include "core/main_view_model.h"
#include "plots/diagrams.h"
#include "plots/export_names.h"
#include "plots/reference_diagrams.h"
#include "state/number_format.h"
#include "store/antoine_range.h"
#include "store/settings.h"
#include "store/store_errors.h"
#include "ui/diagram_units_bar.h"
#include "ui/message_box.h"
#include "ui/model_details.h"
#include "ui/reference_view.h"
#include "ui/save_file.h"
#include "ui/teaching_tab.h"
#include "ui/window_style.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace ui {
namespace {

constexpr int kPlotCount = 3;
const QSize kInitialSize(960, 640);
const QString kTitle = "Diagrams";
const QString kHints = "Wheel: zoom   Drag: pan   Ctrl+drag: zoom box   Double-click: reset   "
                       "Legend: show or hide a model";
const QStringList kImageFilters = {"PNG image (*.png)", "SVG drawing (*.svg)",
                                   "PDF document (*.pdf)"};
const QStringList kDataFilters = {"CSV file (*.csv)"};
// Settings keys of the units, by quantity in the order of plots::kDiagramQuantities.
const std::array<std::string, 3> kUnitKeys = {"Temperature", "Pressure", "Volume"};

/// "png" of "PNG image (*.png)".
QString filterSuffix(const QString& filter)
{
    const qsizetype star = filter.lastIndexOf("*.");
    return star < 0 ? QString() : filter.mid(star + 2).section(')', 0, 0).section(' ', 0, 0);
}

bool writeFile(const QString& path, std::string_view bytes, QString* why)
{
    const std::optional<QString> failed = saveFile(path, bytes);
    if (failed && why != nullptr)
        *why = *failed;
    return !failed;
}

std::size_t index(frmDiagrams::Tab tab) { return static_cast<std::size_t>(tab); }

const plots::Diagram& diagramOf(const plots::Diagrams& d, frmDiagrams::Tab tab)
{
    switch (tab) {
    case frmDiagrams::Tab::ZP:
        return d.zp;
    case frmDiagrams::Tab::PT:
        return d.pt;
    case frmDiagrams::Tab::PV:
    case frmDiagrams::Tab::Table:
    case frmDiagrams::Tab::Teaching:
        break;
    }
    return d.pv;
}

} // namespace

frmDiagrams::frmDiagrams(std::optional<store::Settings> settings, QWidget* parent)
    : QWidget(parent), m_settings(std::move(settings))
{
    setObjectName("frmDiagrams");
    setWindowTitle(kTitle);
    setWindowFlags(Qt::Window);
    m_visible.fill(true);
    createControls();
    if (m_settings) {
        std::array<std::string, 3> symbols;
        for (std::size_t i = 0; i < symbols.size(); ++i)
            symbols[i] = m_settings->diagramUnit(kUnitKeys[i]);
        m_unitsBar->setUnits(plots::unitsFromSymbols(symbols));
        m_units = m_unitsBar->units();
    }
    resize(kInitialSize);
}

frmDiagrams::~frmDiagrams() = default;

void frmDiagrams::createControls()
{
    createTabs();
    createButtons();
    layOutControls();
    connectButtons();
}

void frmDiagrams::createTabs()
{
    tabDiagrams = new QTabWidget(this);
    tabDiagrams->setObjectName("tabDiagrams");
    const char* names[kPlotCount] = {"pltPV", "pltZP", "pltPT"};
    const char* captions[kPlotCount] = {"P-V isotherms", "Z-P", "P-T (vapour pressure)"};
    for (int i = 0; i < kPlotCount; ++i) {
        auto* p = new DiagramPlot(tabDiagrams);
        p->setObjectName(names[i]);
        tabDiagrams->addTab(p, captions[i]);
        connect(p, &DiagramPlot::modelToggled, this, [this](int row) {
            const auto model = static_cast<state::Row>(row);
            setModelVisible(model, !modelVisible(model));
        });
        connect(p, &DiagramPlot::readoutChanged, this,
                [this](const QString& text) { lblReadout->setText(text); });
        m_plots[static_cast<std::size_t>(i)] = p;
    }
    grdAnalysis = new QTableWidget(tabDiagrams);
    grdAnalysis->setObjectName("grdAnalysis");
    grdAnalysis->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdAnalysis->verticalHeader()->setVisible(false);
    // The models' table above, the reference at the state below it.
    auto* tablePage = new QSplitter(Qt::Vertical, tabDiagrams);
    tablePage->addWidget(grdAnalysis);
    m_referenceTable = new ReferenceTableView(tablePage);
    tablePage->addWidget(m_referenceTable);
    tabDiagrams->addTab(tablePage, "Table");
    m_teaching = new TeachingTab(tabDiagrams);
    tabDiagrams->addTab(m_teaching, "Teaching");
}

void frmDiagrams::createButtons()
{
    lblNote = new QLabel(this);
    lblNote->setObjectName("lblNote");
    lblNote->setWordWrap(true);
    lblNote->setTextFormat(Qt::PlainText); // it names the component
    lblReadout = new QLabel(this);
    lblReadout->setObjectName("lblReadout");
    lblReadout->setTextFormat(Qt::PlainText);
    lblReadout->setText(kHints);
    // The read-out gives way to the buttons in a narrow window rather than widen it.
    lblReadout->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lblReadout->setMinimumWidth(0);
    chkLogP = new QCheckBox("Logarithmic P", this);
    chkLogP->setObjectName("chkLogP");
    chkLogP->setToolTip("Pressure on a logarithmic axis: low pressures apart, the loops' "
                        "negative parts left out");
    cmdSaveImage = new QPushButton("Save Image...", this);
    cmdSaveImage->setObjectName("cmdSaveImage");
    cmdSaveData = new QPushButton("Save Data...", this);
    cmdSaveData->setObjectName("cmdSaveData");
    cmdCopy = new QPushButton("Copy", this);
    cmdCopy->setObjectName("cmdCopy");
    cmdCopy->setToolTip("Copy the diagram as an image, or the table as text");
    cmdDetails = new QPushButton("Model Details...", this);
    cmdDetails->setObjectName("cmdDetails");
    cmdDetails->setToolTip("One model's parameters, roots with their tags and reasons, and "
                           "properties");
}

void frmDiagrams::layOutControls()
{
    // The read-out on a line of its own: the pointer's coordinates and the nearest curve's
    // name need the window's width.
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdDetails);
    buttons->addWidget(chkLogP);
    buttons->addWidget(cmdCopy);
    buttons->addWidget(cmdSaveImage);
    buttons->addWidget(cmdSaveData);
    m_referenceBar = new ReferenceBar(m_settings, this);
    connect(m_referenceBar, &ReferenceBar::dataChanged, this, [this] { showInput(m_input); });
    m_unitsBar = new DiagramUnitsBar(this);
    connect(m_unitsBar, &DiagramUnitsBar::unitsChanged, this,
            [this] { setUnits(m_unitsBar->units()); });
    auto* top = new QHBoxLayout;
    top->addWidget(lblNote, 1);
    top->addWidget(m_unitsBar, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tabDiagrams, 1);
    layout->addWidget(lblReadout);
    layout->addWidget(m_referenceBar);
    layout->addLayout(buttons);
}

void frmDiagrams::connectButtons()
{
    connect(cmdSaveImage, &QPushButton::clicked, this, &frmDiagrams::cmdSaveImage_Click);
    connect(cmdSaveData, &QPushButton::clicked, this, &frmDiagrams::cmdSaveData_Click);
    connect(cmdCopy, &QPushButton::clicked, this, &frmDiagrams::cmdCopy_Click);
    connect(cmdDetails, &QPushButton::clicked, this, &frmDiagrams::cmdDetails_Click);
    connect(new QShortcut(QKeySequence::Copy, this), &QShortcut::activated, this,
            &frmDiagrams::cmdCopy_Click);
    connect(tabDiagrams, &QTabWidget::currentChanged, this, [this] {
        cmdSaveImage->setEnabled(currentTab() != Tab::Table);
        chkLogP->setVisible(currentTab() == Tab::PV);
        showHints();
        replotShown();
    });
    connect(chkLogP, &QCheckBox::toggled, this, [this](bool log) {
        plot(Tab::PV)->setLogY(log);
        replotShown();
    });
}

void frmDiagrams::showState(const core::MainViewModel& vm, store::ComponentDatabase& db,
                            const std::string& component, bool sheetCurrent, bool solvedBefore)
{
    plots::DiagramInput in;
    in.component = component;
    in.state = vm.state();
    if (sheetCurrent)
        in.sheet = vm.sheet();
    in.solvedBefore = solvedBefore;
    in.componentSolved =
        !sheetCurrent && vm.solvedFrom() && vm.solvedFrom()->component == component;
    // The state as the sheet shows it: the boxes it was solved from, or as they read now.
    const bool fromSolve = sheetCurrent && vm.solvedFrom();
    const std::string& tempText = fromSolve ? vm.solvedFrom()->txtTemp : vm.txtTemp();
    const std::string& pressText = fromSolve ? vm.solvedFrom()->txtPress : vm.txtPress();
    plots::takeShownTexts(in, tempText, pressText);
    try {
        if (const auto range = store::antoineFitRange(db, component))
            in.antoineRange = plots::AntoineRange{range->tmin_C, range->tmax_C};
    } catch (const store::StoreException&) {
        // Without the fitted range the whole Antoine curve is drawn solid; the store's fault
        // is the main window's to report.
    }
    showInput(in);
}

void frmDiagrams::showInput(const plots::DiagramInput& input)
{
    m_input = input;
    m_component = input.component;
    m_computed = plots::computeDiagrams(input);
    m_referenceBar->decorate(m_computed, input);
    showInUnits();
    if (m_details != nullptr) {
        const auto [t_K, p_bar] = plots::diagramStatePoint(m_input);
        m_details->showState(m_input.state, t_K, p_bar);
    }
    m_teaching->showInput(input);
}

void frmDiagrams::setUnits(const plots::DiagramUnits& units)
{
    m_unitsBar->setUnits(units);
    m_units = m_unitsBar->units();
    m_referenceBar->setUnits(m_units);
    if (m_settings) {
        const std::array<std::string, 3> symbols = plots::symbolsOf(m_units);
        for (std::size_t i = 0; i < symbols.size(); ++i)
            m_settings->setDiagramUnit(kUnitKeys[i], symbols[i]);
    }
    showInUnits();
}

void frmDiagrams::showInUnits()
{
    m_diagrams = plots::inUnits(m_computed, m_units);
    lblNote->setText(fromStd(m_diagrams.note));
    showHints(); // the last read-out belongs to the diagrams replaced
    for (Tab tab : {Tab::PV, Tab::ZP, Tab::PT})
        plot(tab)->setDiagram(diagramOf(m_diagrams, tab), m_visible);
    chkLogP->setChecked(plot(Tab::PV)->logY());
    replotShown();
    fillTable();
}

void frmDiagrams::showHints()
{
    // The table has no pointer read-out, and pan and zoom do not apply to it.
    lblReadout->setText(currentTab() == Tab::Table ? QString() : kHints);
}

QString frmDiagrams::readoutText() const { return lblReadout->text(); }

void frmDiagrams::fillTable()
{
    const auto columns = plots::tableColumns(m_units);
    grdAnalysis->clear();
    grdAnalysis->setColumnCount(static_cast<int>(columns.size()));
    grdAnalysis->setRowCount(static_cast<int>(m_diagrams.table.size()));
    QStringList headers;
    for (const std::string& c : columns)
        headers << fromStd(c);
    grdAnalysis->setHorizontalHeaderLabels(headers);
    for (std::size_t r = 0; r < m_diagrams.table.size(); ++r) {
        const auto cells = plots::tableCells(m_diagrams.table[r]);
        for (std::size_t c = 0; c < cells.size(); ++c)
            grdAnalysis->setItem(static_cast<int>(r), static_cast<int>(c),
                                 new QTableWidgetItem(fromStd(cells[c])));
    }
    grdAnalysis->resizeColumnsToContents();
    m_referenceTable->show(m_diagrams.reference, m_input.component, m_units);
}

DiagramPlot* frmDiagrams::plot(Tab tab) const
{
    return index(tab) < m_plots.size() ? m_plots[index(tab)] : nullptr;
}

void frmDiagrams::setModelVisible(state::Row model, bool visible)
{
    m_visible[static_cast<std::size_t>(model)] = visible;
    for (DiagramPlot* p : m_plots)
        p->setModelVisible(model, visible);
    replotShown();
}

void frmDiagrams::replotShown()
{
    // Only the shown diagram is drawn now; the others when their tab is chosen.
    if (DiagramPlot* p = plot(currentTab()))
        p->replot();
}

frmDiagrams::Tab frmDiagrams::currentTab() const
{
    return static_cast<Tab>(tabDiagrams->currentIndex());
}

bool frmDiagrams::exportImage(const QString& path, Tab tab, QString* why)
{
    if (tab == Tab::Teaching)
        return m_teaching->saveImage(path);
    DiagramPlot* p = plot(tab);
    if (p == nullptr)
        return false;
    const QString suffix = QFileInfo(path).suffix().toLower();
    const QByteArray bytes = p->imageBytes(suffix);
    if (bytes.isEmpty()) {
        if (why != nullptr)
            *why = suffix.isEmpty() || !kImageFilters.join(' ').contains("*." + suffix + ")")
                       ? "A diagram is saved as .png, .svg or .pdf only."
                       : "The image could not be drawn.";
        return false;
    }
    return writeFile(
        path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), why);
}

bool frmDiagrams::exportCsv(const QString& path, Tab tab, QString* why)
{
    if (tab == Tab::Table)
        return writeFile(path, tableText(','), why);
    if (tab == Tab::Teaching)
        return writeFile(path, m_teaching->csv(), why);
    return writeFile(path, plots::diagramCsv(diagramOf(m_diagrams, tab), m_visible), why);
}

void frmDiagrams::copyToClipboard()
{
    if (DiagramPlot* p = plot(currentTab()))
        QApplication::clipboard()->setImage(p->image());
    else if (currentTab() == Tab::Teaching)
        QApplication::clipboard()->setImage(m_teaching->image());
    else
        QApplication::clipboard()->setText(fromStd(tableText('\t')));
}

std::string frmDiagrams::tableText(char separator) const
{
    std::string text = plots::tableText(m_diagrams.table, m_units, separator);
    if (m_diagrams.reference) {
        text += separator == ',' ? "\r\n" : "\n";
        text +=
            plots::tableText(plots::referenceTableText(*m_diagrams.reference, m_units), separator);
    }
    return text;
}

QString frmDiagrams::askSavePath(const QString& caption, const QStringList& filters,
                                 QString* chosen)
{
    QString folder;
    if (m_settings)
        folder = fromStd(m_settings->exportFolder().value_or(std::string()));
    // A folder that cannot be written (or, like /proc, not listed in reasonable time) is no
    // place to offer.
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !info.isWritable() || folder.startsWith("/proc"))
        folder = QDir::homePath();
    static const char* const kTabNames[] = {"P-V", "Z-P", "P-T", "table"};
    const std::string name = plots::suggestedFileName(
        m_component, m_diagrams.tempText, m_diagrams.pressText, kTabNames[index(currentTab())]);
    *chosen = filters.front();
    const QString suggested =
        QDir(folder).filePath(fromStd(name) + "." + filterSuffix(filters.front()));
    const QString all = filters.join(";;");
    QString path = m_saveDialog
                       ? m_saveDialog(caption, suggested, all, chosen)
                       : QFileDialog::getSaveFileName(this, caption, suggested, all, chosen);
    return path;
}

void frmDiagrams::rememberFolder(const QString& path)
{
    if (m_settings)
        m_settings->setExportFolder(QFileInfo(path).absolutePath().toStdString());
}

void frmDiagrams::cmdSaveImage_Click()
{
    const Tab tab = currentTab();
    if (tab == Tab::Table)
        return;
    QString chosen;
    const QString typed = askSavePath("Save Diagram", kImageFilters, &chosen);
    if (typed.isEmpty())
        return;
    const auto target = plots::saveTarget(typed.toStdString(), {"png", "svg", "pdf"},
                                          filterSuffix(chosen).toStdString());
    if (!target) {
        showMessageBox(this,
                       "A diagram is saved as PNG (.png), SVG (.svg) or PDF (.pdf); \"" +
                           QFileInfo(typed).fileName() + "\" names another type.",
                       kTitle);
        return;
    }
    const QString path = fromStd(target->path);
    QString why;
    if (exportImage(path, tab, &why))
        rememberFolder(path);
    else
        showMessageBox(this, "The diagram could not be written to\n" + path + "\n" + why, kTitle);
}

void frmDiagrams::cmdSaveData_Click()
{
    const Tab tab = currentTab();
    QString chosen;
    QString path = askSavePath("Save Data", kDataFilters, &chosen);
    if (path.isEmpty())
        return;
    if (plots::fileSuffix(path.toStdString()).empty())
        path += ".csv";
    QString why;
    if (exportCsv(path, tab, &why))
        rememberFolder(path);
    else
        showMessageBox(this, "The data could not be written to\n" + path + "\n" + why, kTitle);
}

void frmDiagrams::cmdCopy_Click() { copyToClipboard(); }

void frmDiagrams::cmdDetails_Click()
{
    if (m_details == nullptr) {
        m_details = new ModelDetailsWindow(m_settings, this);
        const auto [t_K, p_bar] = plots::diagramStatePoint(m_input);
        m_details->showState(m_input.state, t_K, p_bar);
    }
    m_details->show();
    m_details->raise();
    m_details->activateWindow();
}

} // namespace ui
