#include "testkit/session_play.h"

#include <cstdio>

namespace {

std::string Trimmed(std::string state) {
  return state.erase(state.find_last_not_of('\n') + 1);
}

// Prints the mismatch; false when the session, played again, doesn't differ.
bool Report(std::uint32_t seed, std::vector<SessionAction> actions, Mismatch last,
            const SessionPlayer& play, const char* fields) {
  actions.resize(last.action + 1);
  const bool again = play(seed, actions).has_value();
  for (std::size_t at = 0; again && at < actions.size() && actions.size() > 1;) {
    std::vector<SessionAction> fewer = actions;
    fewer.erase(fewer.begin() + static_cast<long>(at));
    if (const std::optional<Mismatch> still = play(seed, fewer)) {
      actions = std::move(fewer);
      last = *still;
    } else {
      ++at;
    }
  }
  std::printf("seed %u: the front end differs after these actions%s:\n", seed,
              again ? "" : " (once: not when played again)");
  for (const SessionAction& action : actions) std::printf("  %s\n", Describe(action).c_str());
  std::printf("expected (%s):\n%s\nseen:\n%s\n", fields, Trimmed(last.expected).c_str(),
              Trimmed(last.seen).c_str());
  return again;
}

}  // namespace

int PlaySessions(std::uint32_t count, std::uint32_t first, FrontEnd front_end,
                 const LineSession& reference, const SessionPlayer& play, const char* fields) {
  std::uint32_t mismatches = 0;
  for (std::uint32_t seed = first; seed - first < count; ++seed) {
    const auto actions = GenerateSession(seed, front_end, reference);
    const std::optional<Mismatch> mismatch = play(seed, actions);
    if (mismatch && Report(seed, actions, *mismatch, play, fields)) ++mismatches;
  }
  std::printf("%u sessions, %u mismatches\n", count, mismatches);
  return mismatches == 0 ? 0 : 1;
}
