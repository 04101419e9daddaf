// The hidden page's document, queried from another thread the way the capture queries it.
#include <gtest/gtest.h>

#include <QObject>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <memory>
#include <thread>

#include "browser/browser_document.h"
#include "event_pump.h"
#include "support/fixture_server.h"

namespace qz {
namespace {

using test::FixtureServer;
using test::onCaptureThread;
using test::serveEventsUntil;

bool loadAndWait(QWebEnginePage& page, const std::string& url) {
  bool finished = false;
  auto connection =
      QObject::connect(&page, &QWebEnginePage::loadFinished, [&](bool) { finished = true; });
  page.load(QUrl(QString::fromStdString(url)));
  const bool loaded = serveEventsUntil([&] { return finished; });
  QObject::disconnect(connection);
  return loaded;
}

std::vector<std::string> propertyOfEach(const ElementCollection& collection,
                                        const std::string& name) {
  std::vector<std::string> values;
  for (int i = 0; i < collection.length(); ++i)
    values.push_back(elementProperty(collection.item(i), name));
  return values;
}

// The page sits one level below the "window", as a browser's document window sits below the
// control's own window.
class BrowserDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(loadAndWait(*page_, server_.baseUrl() + "/elements.html")); }

  static ElementCollection query(BrowserDocument& document, const std::string& tagName) {
    return onCaptureThread([&] { return document.collectionByTagName(tagName); });
  }

  FixtureServer server_{"browser"};
  // A profile of the test's own: its connections to the server close with it.
  QWebEngineProfile profile_;
  QObject window_;
  QObject* frame_ = new QObject(&window_);
  QWebEnginePage* page_ = new QWebEnginePage(&profile_, frame_);
};

TEST_F(BrowserDocumentTest, AnswersWithThePropertiesAsTheDocumentHasThem) {
  BrowserDocument document;
  ASSERT_TRUE(document.attachToWindow(page_));
  const std::string base = server_.baseUrl();
  struct Case {
    const char* tagName;
    const char* property;
    std::vector<std::string> expected;
  };
  // Addresses come back resolved, a missing one empty; a param's value stays as written. The
  // page replaced Array's and the document's methods, which must not reach the query.
  const std::vector<Case> cases = {
      {"a", "href", {base + "/pages/about.html", ""}},
      {"a", "name", {"", "top"}},
      {"img", "src", {base + "/img/static.gif"}},
      {"script", "src", {""}},
      {"link", "href", {}},
      {"param", "name", {"MOVIE"}},
      {"param", "value", {"media/intro.swf"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.tagName) + "/" + c.property);
    EXPECT_EQ(propertyOfEach(query(document, c.tagName), c.property), c.expected);
  }
}

TEST_F(BrowserDocumentTest, AttachingFindsThePageBelowAWindowOrTakesThePageItself) {
  QObject emptyWindow;
  new QObject(&emptyWindow);
  struct Case {
    const char* name;
    QObject* window;
    bool attaches;
  };
  const std::vector<Case> cases = {
      {"window holding the page", &window_, true},
      {"the page itself", page_, true},
      {"window without a page", &emptyWindow, false},
      {"no window", nullptr, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BrowserDocument document;
    EXPECT_EQ(document.attachToWindow(c.window), c.attaches);
    EXPECT_EQ(query(document, "img").length(), c.attaches ? 1 : 0);
  }
  EXPECT_EQ(BrowserDocument::findServerWindow(&window_), page_);
  EXPECT_EQ(BrowserDocument::findServerWindow(&emptyWindow), nullptr);
}

TEST_F(BrowserDocumentTest, AFailedAttachKeepsTheDocumentItHad) {
  BrowserDocument document;
  ASSERT_TRUE(document.attachToWindow(&window_));
  QObject emptyWindow;
  EXPECT_FALSE(document.attachToWindow(&emptyWindow));
  EXPECT_EQ(query(document, "img").length(), 1);
}

TEST_F(BrowserDocumentTest, WithoutAPageEveryReadGivesItsFailureResult) {
  BrowserDocument unattached;
  BrowserDocument pageGone;
  ASSERT_TRUE(pageGone.attachToWindow(page_));
  delete page_;
  for (BrowserDocument* document : {&unattached, &pageGone}) {
    const ElementCollection collection = query(*document, "a");
    EXPECT_EQ(collection.length(), 0);
    EXPECT_TRUE(collection.item(0).empty());
    EXPECT_EQ(elementProperty(collection.item(0), "href"), "");
    EXPECT_TRUE(document->elementsByTagName("a").empty());
  }
}

// The engine shows a page of its own (pictures, links, scripts) for an address it cannot
// load; none of that belongs to the site.
TEST_F(BrowserDocumentTest, TheEnginesErrorPageHasNoElementsOfTheSite) {
  int closedPort = 0;
  {
    FixtureServer gone;
    closedPort = gone.port();
  }
  ASSERT_TRUE(loadAndWait(*page_, "http://127.0.0.1:" + std::to_string(closedPort) + "/x.html"));
  BrowserDocument document;
  ASSERT_TRUE(document.attachToWindow(page_));
  for (const char* tagName : {"a", "img", "script", "link", "param"}) {
    SCOPED_TRACE(tagName);
    EXPECT_EQ(query(document, tagName).length(), 0);
  }
}

TEST_F(BrowserDocumentTest, AQueryOnThePagesOwnThreadAnswersEmptyInsteadOfWaitingOnItself) {
  BrowserDocument document;
  ASSERT_TRUE(document.attachToWindow(page_));
  EXPECT_EQ(document.collectionByTagName("img").length(), 0);
  EXPECT_EQ(query(document, "img").length(), 1);
}

TEST_F(BrowserDocumentTest, AQueryTheGuiThreadDoesNotServeGivesUpAndALateAnswerIsHarmless) {
  BrowserDocument document;
  ASSERT_TRUE(document.attachToWindow(page_));
  ElementCollection unanswered(std::vector<ElementProperties>{{{"src", "stale"}}});
  // This thread blocks instead of serving events, as a hung window would.
  std::thread captureThread([&] { unanswered = document.collectionByTagName("img"); });
  captureThread.join();
  EXPECT_EQ(unanswered.length(), 0);

  // The query the GUI thread never served runs now; nobody waits for its answer any more.
  test::serveEventsFor(300);
  EXPECT_EQ(query(document, "img").length(), 1);
}

TEST(BrowserDocumentHungPageTest, AQueryToAPageBusyForeverGivesUp) {
  FixtureServer server("browser");
  // A profile of its own, so the hung page's renderer is shared with no other page.
  QWebEngineProfile profile;
  auto page = std::make_unique<QWebEnginePage>(&profile);
  ASSERT_TRUE(loadAndWait(*page, server.baseUrl() + "/elements.html"));
  BrowserDocument document;
  ASSERT_TRUE(document.attachToWindow(page.get()));
  page->runJavaScript(QStringLiteral("for (;;) {}"));

  EXPECT_EQ(onCaptureThread([&] { return document.collectionByTagName("img").length(); }), 0);
}

}  // namespace
}  // namespace qz
