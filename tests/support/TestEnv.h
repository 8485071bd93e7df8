#pragma once

#include <QString>
#include <chrono>
#include <functional>

namespace testenv {

// Path of a generated test video (or other fixture) by file name.
QString fixture(const QString& name);

// Path of the built skorrel program.
QString skorrelBinary();

// Processes Qt events until `condition` holds or `timeout` passes; returns whether it holds.
// Tests wait for the state itself, never for a fixed time.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(30));

}  // namespace testenv
