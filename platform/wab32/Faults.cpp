#include "platform/wab32/Faults.h"

#ifdef WAB32_FAULTS

#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

namespace wab {
namespace {

struct Rule {
    unsigned long nth = 0; // 0: every call
    unsigned long calls = 0;
};

std::mutex g_mutex;
std::map<std::string, Rule> g_rules;

} // namespace

void ResetFaults() {
    std::lock_guard lock(g_mutex);
    g_rules.clear();
    const char* spec = std::getenv("WAB32FAIL");
    if (spec == nullptr) {
        return;
    }
    std::string all(spec);
    std::size_t start = 0;
    while (start <= all.size()) {
        std::size_t end = all.find(',', start);
        if (end == std::string::npos) {
            end = all.size();
        }
        std::string item = all.substr(start, end - start);
        if (!item.empty()) {
            Rule rule;
            std::size_t colon = item.find(':');
            if (colon != std::string::npos) {
                rule.nth = std::strtoul(item.c_str() + colon + 1, nullptr, 10);
                item.resize(colon);
            }
            g_rules[item] = rule;
        }
        start = end + 1;
    }
}

bool Fault(const char* operation) {
    std::lock_guard lock(g_mutex);
    auto it = g_rules.find(operation);
    if (it == g_rules.end()) {
        return false;
    }
    Rule& rule = it->second;
    ++rule.calls;
    return rule.nth == 0 || rule.calls == rule.nth;
}

} // namespace wab

#endif
