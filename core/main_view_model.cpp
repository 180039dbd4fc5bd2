#include "core/main_view_model.h"

#include "state/number_format.h"

#include <algorithm>

namespace core {
namespace {

constexpr std::size_t kGotFocusSelection = 9;

} // namespace

bool MainViewModel::sheetCurrent() const
{
    return m_solvedFrom && m_solvedFrom->component == m_form.component &&
           m_solvedFrom->state == m_form.state &&
           m_solvedFrom->twoPhase == m_form.twoPhaseSelected &&
           state::toFloat(m_solvedFrom->txtTemp) == state::toFloat(m_form.temp);
}

SheetView MainViewModel::resultsView() const
{
    if (!m_solvedFrom)
        return {m_form.component, m_form.temp, m_form.press, m_form.message,
                chkStCalc(),      chkSphMol(), &m_form.sheet};
    const SolvedFrom& s = *m_solvedFrom;
    return {s.component,       s.txtTemp,         s.txtPress,   s.stCond,
            s.state.chkStCalc, s.state.chkSphMol, &m_form.sheet};
}

void MainViewModel::recordSolve()
{
    // Assigned member by member into the record kept from the last solve, so that a batch
    // re-uses its strings' buffers instead of allocating them for every state.
    if (!m_solvedFrom)
        m_solvedFrom.emplace();
    SolvedFrom& s = *m_solvedFrom;
    s.component = m_form.component;
    s.state = m_form.state;
    s.twoPhase = m_form.twoPhaseSelected;
    s.txtTemp = m_form.temp;
    s.txtPress = m_form.press;
    s.stCond = m_form.message;
}

void MainViewModel::cmdSolve_Click()
{
    solveForm(m_form);
    recordSolve();
}

Selection MainViewModel::txt_GotFocus(std::string_view text)
{
    return {0, static_cast<int>(std::min(text.size(), kGotFocusSelection))};
}

} // namespace core
