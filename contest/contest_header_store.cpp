#include "contest/contest_header_store.h"

#include "storage/catalogue.h"
#include "storage/key_encoding.h"

namespace kontura {
namespace {

constexpr int kKeyContestNumber = 3;

// Opens FHKK for one piece of work and closes it again.
class OpenHeaders {
 public:
  OpenHeaders() : m_open(OpenFHKK()) {}
  ~OpenHeaders() {
    if (m_open) CloseFHKK();
  }
  OpenHeaders(const OpenHeaders&) = delete;
  OpenHeaders& operator=(const OpenHeaders&) = delete;

  // Makes the contest's header the FHKK buffer's record.
  bool Find(int32_t contest_number) const {
    if (!m_open) return false;
    CatalogueHandle(CatalogueId::kFhkk)->FindExact(kKeyContestNumber, NumberToKey(contest_number));
    return StorageErrorClass() == 0;
  }

 private:
  bool m_open;
};

}  // namespace

bool LoadContestHeader(int32_t contest_number, std::vector<uint8_t>* bytes) {
  const OpenHeaders headers;
  if (!headers.Find(contest_number)) return false;
  const uint8_t* rec = CatalogueRecord(CatalogueId::kFhkk);
  bytes->assign(rec, rec + contest_header::kSize);
  return true;
}

bool UpdateContestHeader(int32_t contest_number, const std::function<void(TContestHeader&)>& change) {
  const OpenHeaders headers;
  if (!headers.Find(contest_number)) return false;
  TContestHeader header(CatalogueRecord(CatalogueId::kFhkk));
  change(header);
  CatalogueHandle(CatalogueId::kFhkk)->UpdateRecord();
  return StorageErrorClass() == 0;
}

}  // namespace kontura
