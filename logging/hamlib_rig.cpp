#include "logging/hamlib_rig.h"

#include <hamlib/rig.h>

#include <string>

namespace kontura {

struct HamlibRig::State {
  RigSettings settings;
  RIG* rig = nullptr;
  bool open = false;

  void Close() {
    if (rig) {
      if (open) rig_close(rig);
      rig_cleanup(rig);
    }
    rig = nullptr;
    open = false;
  }

  // Opens the connection; an error text when it could not be opened.
  std::string Open() {
    static const bool quiet = [] {
      rig_set_debug(RIG_DEBUG_NONE);
      return true;
    }();
    (void)quiet;
    const rig_model_t model =
        settings.kind == RigSettings::Kind::kNetwork ? RIG_MODEL_NETRIGCTL : static_cast<rig_model_t>(settings.model);
    rig = rig_init(model);
    if (!rig) return "unbekanntes Modell " + std::to_string(model);
    const std::string path = settings.kind == RigSettings::Kind::kNetwork ? settings.address : settings.device;
    rig_set_conf(rig, rig_token_lookup(rig, "rig_pathname"), path.c_str());
    rig_set_conf(rig, rig_token_lookup(rig, "timeout"), "1000");
    rig_set_conf(rig, rig_token_lookup(rig, "retry"), "0");
    if (settings.kind == RigSettings::Kind::kDirect && settings.speed > 0) {
      rig_set_conf(rig, rig_token_lookup(rig, "serial_speed"), std::to_string(settings.speed).c_str());
    }
    const int rc = rig_open(rig);
    if (rc != RIG_OK) {
      const std::string why = rigerror(rc);
      Close();
      return why;
    }
    // Every reading asks the rig: hamlib's own cache would repeat a
    // frequency the dial has left, and a rig that is gone.
    rig_set_cache_timeout_ms(rig, HAMLIB_CACHE_ALL, 0);
    open = true;
    return {};
  }
};

HamlibRig::HamlibRig(const RigSettings& settings) : m_state(std::make_unique<State>()) {
  m_state->settings = settings;
}

HamlibRig::~HamlibRig() { m_state->Close(); }

RigReading HamlibRig::Read() {
  RigReading r;
  if (!m_state->open) {
    r.error = m_state->Open();
    if (!m_state->open) return r;
  }
  freq_t freq = 0;
  int rc = rig_get_freq(m_state->rig, RIG_VFO_CURR, &freq);
  rmode_t mode = RIG_MODE_NONE;
  pbwidth_t width = 0;
  if (rc == RIG_OK) rc = rig_get_mode(m_state->rig, RIG_VFO_CURR, &mode, &width);
  if (rc != RIG_OK) {
    // Opened again with the next reading: a daemon or cable may come back.
    r.error = rigerror(rc);
    m_state->Close();
    return r;
  }
  r.answered = true;
  r.hz = freq;
  r.mode = rig_strrmode(mode);
  return r;
}

}  // namespace kontura
