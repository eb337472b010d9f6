#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

namespace kelvarine::testing {

// Answers the next modal message box (or question) that opens, as a user would: polls for it and
// clicks `button`. The box's text is kept in `*seenText` when given. Call before the action that opens it.
void answerNextMessageBox(QMessageBox::StandardButton button, QString* seenText = nullptr);

// Runs `action` with the next modal widget once one opens (a dialog, a message box).
void whenModalOpens(std::function<void(QWidget*)> action);

// Waits (processing events) until `condition` holds or `timeoutMs` passes; true when it holds.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 10000);

}  // namespace kelvarine::testing
