#include "output/qt/text_viewer_link.h"

#if __has_include("ui/qt/text_viewer.h")
#include "ui/qt/text_viewer.h"
#define KONTURA_HAS_TEXT_VIEWER 1
#else
#include "platform/platform.h"
#endif

namespace kontura {

void QtTextFileViewer::ShowTextFile(const std::string& path) {
#ifdef KONTURA_HAS_TEXT_VIEWER
  // The viewer's answer (saved or not) changes nothing for the output.
  (void)kontura::ShowTextFile(path, m_parent);
#else
  // Until the program's own viewer is there, the desktop's editor shows it.
  (void)m_parent;
  TheDocuments().OpenDocument(path);
#endif
}

}  // namespace kontura
