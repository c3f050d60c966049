#pragma once

// Runs an action when the scope is left, however it is left: a worker's closing notice goes out
// after an early return or an exception too.

#include <utility>

template <class Action>
class ScopeExit {
 public:
  explicit ScopeExit(Action action) : m_action(std::move(action)) {}
  ~ScopeExit() { m_action(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  Action m_action;
};
