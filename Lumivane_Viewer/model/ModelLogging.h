#pragma once

#include <QLoggingCategory>

// Warnings about tour content that was dropped while decoding.
Q_DECLARE_LOGGING_CATEGORY(lcModel)
