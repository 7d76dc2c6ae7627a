#include "platform/qt/cab_view.h"

#include <QPalette>

#include "core/front/cab_session.h"
#include "core/front/session_loader.h"

// Placeholder until the cab display lands: a black view of the right size that keeps the
// contract of the header, so that the window around it can be built and tested.
namespace kestrel {

struct CabView::Impl {
  CabSession& session;
  LoadedSession& loaded;
  MovieReader* movie;
};

CabView::CabView(CabSession& session, LoadedSession& loaded, MovieReader* movie, QWidget* parent)
    : QWidget(parent), impl_(new Impl{session, loaded, movie}) {
  setMinimumSize(400, 380);
  resize(1202, 758);
  QPalette black = palette();
  black.setColor(QPalette::Window, Qt::black);
  setPalette(black);
  setAutoFillBackground(true);
}

CabView::~CabView() { delete impl_; }

void CabView::showStill() { update(); }
void CabView::startRendering() { update(); }
void CabView::stopRendering() {}
void CabView::applyTextMode(bool) {}
int CabView::measuredRate() const { return 0; }

}  // namespace kestrel
