// Everything that motion shaping, client commands and target choice work on, by
// reference: the driver keeps one of each for the whole run on its main thread.
#pragma once

#include <cstdint>

#include "config/settings_record.h"
#include "delivery/app_table.h"
#include "delivery/client_list.h"
#include "delivery/delivery_context.h"
#include "delivery/delivery_platform.h"

namespace astro {

// The push gesture recognizer, offered each raw sample while Hintview is on.
class PushGesture {
 public:
  virtual ~PushGesture() = default;
  // The six raw axis values, before the null zone. 0: the sample goes on to
  // shaping; 1 (push recognised), 2 (sample taken) or 3 (push held): it is dropped.
  virtual int PushRecognizer(const std::int32_t raw[kAxisCount]) = 0;
};

// Binds a newly registered client window to the application the user activated
// last, by thread or by process, in the application table and currentApp. Called
// for every accepted registration, after the window became the target and before
// the panel is told.
class ClientBinding {
 public:
  virtual ~ClientBinding() = default;
  virtual void BindClient(WindowHandle window) = 0;
};

struct DeliveryScope {
  DeliveryContext& context;
  SettingsRecord& settings;
  RuntimeFlags& flags;
  AppTable& apps;
  ClientList& clients;
  DeliveryPlatform& platform;
  // Without a recognizer every sample goes on to shaping.
  PushGesture* push = nullptr;
  // Without a binding a registered client becomes the target but is not bound.
  ClientBinding* binding = nullptr;
};

}  // namespace astro
