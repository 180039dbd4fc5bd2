#include "core/main_view_model.h"

namespace core {
void MainViewModel::setStCond(std::string_view l1, std::string_view l2, std::string_view l3)
{
    m_lblStCond = std::string(l1) + "\r\n" + std::string(l2) + "\r\n" + std::string(l3);
}
void MainViewModel::clearOptEqState() { m_optSelected = {false, false}; }
void MainViewModel::selectOptEqState(int index)
{
    m_optSelected = {index == 0, index == 1};
}
void MainViewModel::setOptEqStateEnabled(bool enabled) { m_optEnabled = {enabled, enabled}; }
void MainViewModel::cmdSolve_Click() {}
Selection MainViewModel::txt_GotFocus(std::string_view text)
{
    return {0, static_cast<int>(std::min<std::size_t>(text.size(), 9))};
}
Effects MainViewModel::txtTemp_LostFocus() { return {}; }
Effects MainViewModel::txtPress_LostFocus() { return {}; }
Effects MainViewModel::optEqState_Click(int) { return {}; }
} // namespace core
