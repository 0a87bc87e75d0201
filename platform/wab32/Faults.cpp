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
bool g_timed = false;
std::int64_t g_time = 0;

} // namespace

void ResetFaults() {
    std::lock_guard lock(g_mutex);
    g_rules.clear();
    const char* now = std::getenv("WAB32NOW");
    g_timed = now != nullptr && now[0] != '\0';
    g_time = g_timed ? std::strtoll(now, nullptr, 10) : 0;
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

bool ScriptedTime(std::int64_t& seconds) {
    std::lock_guard lock(g_mutex);
    seconds = g_time;
    return g_timed;
}

} // namespace wab

#endif
