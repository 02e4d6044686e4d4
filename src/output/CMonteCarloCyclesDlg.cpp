#include <charconv>

#include "output/CMonteCarloCyclesDlg.h"

namespace ardelon {

bool CMonteCarloCyclesDlg::onOk(DialogHost& host) {
    if (untilSettled && (maxCycles < 1 || maxCycles > kMaxSettleCycles)) {
        host.showMessage(kMaxCyclesText, kCaption, MessageIcon::Exclamation);
        host.setFocus(static_cast<int>(Control::MaxCycles));
        return false;
    }
    std::string_view text = seedText;
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.empty()) {
        seed.reset();  // seeded from the clock when the run starts
        return true;
    }
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        host.showMessage(kSeedText, kSeedCaption, MessageIcon::Exclamation);
        host.setFocus(static_cast<int>(Control::Seed));
        return false;
    }
    seed = value;
    return true;
}

}  // namespace ardelon
