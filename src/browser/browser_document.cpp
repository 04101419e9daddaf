#include "browser/browser_document.h"

#include <QCoreApplication>
#include <QThread>
#include <QUrl>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace qz {
namespace {

// Shared between the waiting thread and the page's answer, so an answer that arrives after
// the waiter gave up writes into memory that is still there and then goes away with it.
struct PendingAnswer {
  std::mutex mutex;
  std::condition_variable answered;
  bool done = false;
  QVariant value;

  void finish(const QVariant& result) {
    {
      std::lock_guard lock(mutex);
      done = true;
      value = result;
    }
    answered.notify_all();
  }

  QVariant waitAtMost(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex);
    if (!answered.wait_for(lock, timeout, [this] { return done; })) return {};
    return value;
  }
};

// The four properties as the DOM returns them: for a, img, script and link the resolved
// absolute address ("" without the attribute, as for an inline script), for param the
// attribute's value as written. A property that is not a string (an SVG element's href is
// an object) counts as missing. It runs in the application's own script world, so a page
// that redefines Array or its methods cannot change the answer. The engine's own error page,
// shown for an address it could not load, is not the target's document: its pictures and
// links are the engine's, so it answers with no elements, as an unreachable document does.
QString queryScriptFor(const std::string& tagName) {
  // The tag travels percent-encoded, so no character of it can end the string literal.
  const QByteArray encodedTag =
      QUrl::toPercentEncoding(QByteArray(tagName.data(), static_cast<qsizetype>(tagName.size())));
  return QStringLiteral(
             "(function (tag) {"
             "  if (location.protocol === 'chrome-error:') return [];"
             "  const text = v => (typeof v === 'string' ? v : '');"
             "  return Array.prototype.map.call(document.getElementsByTagName(tag), e => ({"
             "    href: text(e.href), src: text(e.src), name: text(e.name), value: text(e.value)"
             "  }));"
             "})(decodeURIComponent('%1'))")
      .arg(QString::fromLatin1(encodedTag));
}

std::vector<ElementProperties> propertiesFrom(const QVariant& answer) {
  std::vector<ElementProperties> elements;
  for (const QVariant& item : answer.toList()) {
    const QVariantMap fields = item.toMap();
    ElementProperties element;
    for (const char* name : {"href", "src", "name", "value"})
      element[name] = fields.value(QLatin1String(name)).toString().toStdString();
    elements.push_back(std::move(element));
  }
  return elements;
}

}  // namespace

ElementProperties ElementCollection::item(int position) const {
  if (position < 0 || position >= length()) return {};
  return elements_[static_cast<std::size_t>(position)];
}

QWebEnginePage* BrowserDocument::findServerWindow(QObject* window) {
  if (!window) return nullptr;
  for (QObject* child : window->children()) {
    if (auto* page = qobject_cast<QWebEnginePage*>(child)) return page;
    if (QWebEnginePage* below = findServerWindow(child)) return below;
  }
  return nullptr;
}

bool BrowserDocument::attachToWindow(QObject* window) {
  auto* page = qobject_cast<QWebEnginePage*>(window);
  if (!page) page = findServerWindow(window);
  if (!page) return false;
  page_ = page;
  return true;
}

ElementCollection BrowserDocument::collectionByTagName(const std::string& tagName) {
  QCoreApplication* application = QCoreApplication::instance();
  const QPointer<QWebEnginePage> page = page_;
  // WebEngine pages live on the application's main thread; a query from there cannot wait.
  if (page.isNull() || !application || QThread::currentThread() == application->thread())
    return {};

  auto answer = std::make_shared<PendingAnswer>();
  const QString script = queryScriptFor(tagName);
  QMetaObject::invokeMethod(
      application,
      [page, script, answer] {
        if (!page) return answer->finish({});
        page->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                            [answer](const QVariant& result) { answer->finish(result); });
      },
      Qt::QueuedConnection);
  return ElementCollection(
      propertiesFrom(answer->waitAtMost(std::chrono::milliseconds(kDocumentQueryTimeoutMs))));
}

std::vector<ElementProperties> BrowserDocument::elementsByTagName(const std::string& tagName) {
  return collectionByTagName(tagName).elements();
}

}  // namespace qz
