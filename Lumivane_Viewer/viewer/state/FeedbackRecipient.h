#pragma once

#include "model/LumivaneProject.h"

#include <QString>

#include <optional>

/// The address the visitor feedback card writes to: none unless feedback is
/// enabled; else feedbackEmail, else contactFormEmail, each trimmed and used
/// only when not empty. Without one there is no feedback card.
std::optional<QString> feedbackRecipient(const LumivaneProject &project);
