#pragma once
// The live document of the hidden browser page, reached from the capture thread.
//
// What stands in for the browser's window handles: the QWebEnginePage that the hidden browser
// control holds. "Attaching to a window" is given any QObject: the page itself, or an object
// that holds the page among its descendants (the PreprocessController, a main window), which
// findServerWindow searches depth-first, the way a browser's document window is looked for
// among the child windows of its control.
//
// Every query is a runJavaScript call made on the page's own (GUI) thread; the calling thread
// waits for the answer at most 1000 ms. An answer that comes later lands in a shared state
// nobody waits on any more and is dropped, so a hung page or a busy GUI thread can delay a
// capture, never stop it. Queries are meant for a thread other than the page's: made on the
// page's thread they would wait on the very event loop that has to serve them, so there they
// answer at once with the failure result instead.
#include <QPointer>
#include <string>
#include <vector>

#include "capture/document_collection.h"

class QObject;
class QWebEnginePage;

namespace qz {

// How long a query waits for the page to answer.
inline constexpr int kDocumentQueryTimeoutMs = 1000;

// The elements of one tag name, each with its "href", "src", "name" and "value" as the page's
// DOM properties returned them. Out of range or missing, the failure results hold: an empty
// element, an empty text.
class ElementCollection {
 public:
  ElementCollection() = default;
  explicit ElementCollection(std::vector<ElementProperties> elements)
      : elements_(std::move(elements)) {}

  int length() const { return static_cast<int>(elements_.size()); }
  ElementProperties item(int position) const;
  const std::vector<ElementProperties>& elements() const { return elements_; }

 private:
  std::vector<ElementProperties> elements_;
};

// elementProperty (capture/document_collection.h) reads a property of an element.

class BrowserDocument : public ElementSource {
 public:
  // `window` is the page or an object holding it. Returns false, leaving the document as it
  // was, when no page is found. Attaching never waits for the page: whether it answers is
  // found out by each query. Call it on the page's thread (it walks the object tree).
  bool attachToWindow(QObject* window);
  // The first page among the descendants of `window`, depth-first; null when there is none.
  static QWebEnginePage* findServerWindow(QObject* window);
  bool attached() const { return !page_.isNull(); }

  // The elements of `tagName`; an empty collection when no page is attached, the page is gone,
  // it did not answer within the time-out, it shows the engine's error page (the address could
  // not be loaded), or the call came from the page's own thread.
  ElementCollection collectionByTagName(const std::string& tagName);
  std::vector<ElementProperties> elementsByTagName(const std::string& tagName) override;

 private:
  QPointer<QWebEnginePage> page_;
};

}  // namespace qz
