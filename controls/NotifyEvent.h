#pragma once
// The event type of the controls: a handler told which component raised it.

#include <functional>

class QObject;

using TNotifyEvent = std::function<void(QObject* Sender)>;
