#include "logging/hamlib_rig.h"

#include <hamlib/rig.h>

#include <algorithm>
#include <string>
#include <tuple>

namespace kontura {

namespace {

void QuietHamlib() {
  static const bool quiet = [] {
    rig_set_debug(RIG_DEBUG_NONE);
    return true;
  }();
  (void)quiet;
}

int AddModel(const rig_caps* caps, void* data) {
  auto* models = static_cast<std::vector<RigModelEntry>*>(data);
  if (caps->rig_model != RIG_MODEL_NETRIGCTL) {
    models->push_back({static_cast<int>(caps->rig_model), caps->mfg_name ? caps->mfg_name : "",
                       caps->model_name ? caps->model_name : ""});
  }
  return 1;  // go on
}

// A short German reason for the status line. (rigerror() returns hamlib's
// whole debug trace in front of the message.)
std::string ErrorText(int rc) {
  switch (rc < 0 ? -rc : rc) {
    case RIG_ECONF: return "Einstellungen passen nicht";
    case RIG_ETIMEOUT: return "keine Antwort in der Wartezeit";
    case RIG_EIO: return "keine Verbindung";
    case RIG_EPROTO: return "unverst\xE4ndliche Antwort";
    case RIG_ERJCTED: return "Befehl abgewiesen";
    case RIG_EPOWER: return "ausgeschaltet";
    default: break;
  }
  const char* text = rigerror2(rc);
  return text ? text : "Fehler " + std::to_string(rc);
}

}  // namespace

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
    QuietHamlib();
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
      const std::string why = ErrorText(rc);
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

const std::vector<RigModelEntry>& HamlibRigModels() {
  static const std::vector<RigModelEntry> models = [] {
    QuietHamlib();
    std::vector<RigModelEntry> list;
    rig_load_all_backends();
    rig_list_foreach(AddModel, &list);
    std::sort(list.begin(), list.end(), [](const RigModelEntry& a, const RigModelEntry& b) {
      return std::tie(a.maker, a.name, a.model) < std::tie(b.maker, b.name, b.model);
    });
    return list;
  }();
  return models;
}

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
    r.error = ErrorText(rc);
    m_state->Close();
    return r;
  }
  r.answered = true;
  r.hz = freq;
  r.mode = rig_strrmode(mode);
  return r;
}

}  // namespace kontura
