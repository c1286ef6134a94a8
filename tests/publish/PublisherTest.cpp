#include "publish/Publisher.h"

#include "PublishTestSupport.h"
#include "publish/ConfigScriptWriter.h"
#include "publish/PlayerPageBuilder.h"
#include "publish/PresentationPageWriter.h"
#include "publish/ScriptScrambler.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <set>
#include <vector>

namespace qm {
namespace {

namespace fs = std::filesystem;

struct Message {
    std::string caption;
    std::string text;
    MessageIcon icon;
};

class FakeUi : public PublishUi {
  public:
    std::optional<std::string> answer;
    std::vector<Message> messages;
    std::vector<SaveDialogRequest> dialogs;
    int previewStops = 0;
    int ticks = 0;

    void showMessage(std::string_view caption, std::string_view text, MessageIcon icon) override {
        messages.push_back({std::string(caption), std::string(text), icon});
    }
    std::optional<std::string> choosePageFile(const SaveDialogRequest& request) override {
        dialogs.push_back(request);
        return answer;
    }
    void stopPreview() override { ++previewStops; }
    void playTick() override { ++ticks; }

    bool saidSuccess() const {
        for (const Message& m : messages) {
            if (m.text == kSucceededText) {
                return true;
            }
        }
        return false;
    }
};

const fs::path kSource = QM_SOURCE_DIR;

// The package's files that are the same for every project, with the bytes
// their sources hold: the pictures of resources/images (the start picture
// beside the page, the others in images/), the icons of the slots' codes,
// raf.js and the style sheet (with CR LF) and the scripts the web build made.
std::map<std::string, std::string> fixedFiles(const std::vector<int>& iconCodes) {
    const fs::path resources = kSource / "resources";
    const fs::path built = fs::path(QM_BINARY_DIR) / "web/js";
    std::map<std::string, std::string> files = {
        {"title_start_html5.jpg", test::readBytes(resources / "images/title_start_html5.jpg")},
        {"js/raf.js", test::readBytes(resources / "web/raf.js")},
        {"js/st.css", test::withCrLf(test::readBytes(resources / "web/st.css"))},
        {"js/Stats.js", test::readBytes(built / "Stats.js")},
        {"js/build/Three.js", test::readBytes(built / "build/Three.js")},
    };
    for (const std::string name : {"cn1.js", "cn2.js", "cn3.js"}) {
        files["js/ctr/" + name] = test::readBytes(built / "ctr" / name);
    }
    for (const auto& entry : fs::directory_iterator(resources / "images")) {
        const std::string name = entry.path().filename().string();
        if (name != "title_start_html5.jpg") {
            files["images/" + name] = test::readBytes(entry.path());
        }
    }
    for (std::size_t slot = 1; slot <= 10; ++slot) {
        const int code = slot <= iconCodes.size() ? iconCodes[slot - 1] : 200;
        files["images/hs" + std::to_string(slot) + ".gif"] =
            test::readBytes(resources / "hotspots" / ("hs" + std::to_string(code) + ".gif"));
    }
    return files;
}

void replaceOnce(std::string& text, std::string_view placeholder, std::string_view value) {
    const std::size_t at = text.find(placeholder);
    ASSERT_NE(at, std::string::npos) << placeholder;
    text.replace(at, placeholder.size(), value);
}

std::set<std::string> filesUnder(const fs::path& root) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files.insert(fs::relative(entry.path(), root).generic_string());
        }
    }
    return files;
}

class PublisherTest : public ::testing::Test {
  protected:
    test::ScratchFolder scratch;
    fs::path media = scratch.path() / "media";
    fs::path out = scratch.path() / "out";
    FakeUi ui;
    Project project;

    void SetUp() override {
        fs::create_directories(media);
        fs::create_directories(out);
        test::writeBytes(media / "tour.mp4", "mp4 video bytes");
        test::writeBytes(media / "tour.webm", "webm video bytes");
        project.videos.set(1, (media / "tour.mp4").string());
        project.options.saveDir = scratch.path().string();
        ui.answer = (out / "_presentation.html").string();
    }

    PublishResult publish(PublishSettings settings = {}) {
        return Publisher(ui, settings).publish(project);
    }
};

TEST_F(PublisherTest, PublishesTheWholePackage) {
    test::writeBytes(media / "tour.ogv", "ogv video bytes");
    project.videos.set(2, (media / "tour.webm").string());
    project.videos.set(3, (media / "tour.ogv").string());
    project.options.hsIcons = {0, 201, 234, 0, 0, 0, 0, 0, 0, 0};
    project.options.htmlTitle = "Тур <1>";
    project.hotSpots.put(3, HotSpotItem{"http://example.org/", "A - B", 90, 12.5, 5, 0});
    const PublishResult result = publish();

    ASSERT_EQ(result.outcome, PublishOutcome::Published);
    EXPECT_EQ(result.pagePath, out / "_presentation.html");
    // Code 0 became 200 in the model and in the package.
    EXPECT_EQ(project.options.hsIcons,
              (HotSpotIcons{200, 201, 234, 200, 200, 200, 200, 200, 200, 200}));

    // The files not made for the project are their sources' bytes.
    std::set<std::string> expected = {"_presentation.html",
                                      "tv360_player.html",
                                      "start_local_server_python.bat",
                                      "start_test__presentation.bat",
                                      "tour.mp4",
                                      "tour.webm",
                                      "tour.ogv",
                                      "js/ctr/cn0.js"};
    for (const auto& [path, bytes] : fixedFiles({200, 201, 234})) {
        expected.insert(path);
        const bool same = test::readBytes(out / path) == bytes; // no pictures printed
        EXPECT_TRUE(same) << path;
    }
    EXPECT_EQ(filesUnder(out), expected);

    // The files made for the project.
    EXPECT_EQ(test::readBytes(out / "tour.mp4"), "mp4 video bytes");
    EXPECT_EQ(test::readBytes(out / "tour.webm"), "webm video bytes");
    EXPECT_EQ(test::readBytes(out / "tour.ogv"), "ogv video bytes");
    EXPECT_EQ(test::readBytes(out / "start_local_server_python.bat"),
              "REM for local tests only\r\nstart python -m http.server\r\n");
    EXPECT_EQ(test::readBytes(out / "start_test__presentation.bat"),
              "REM for local tests only\r\nstart http://127.0.0.1:8000/_presentation.html\r\n");
    EXPECT_NE(test::readBytes(out / "_presentation.html")
                  .find("src='title_start_html5.jpg'\r\n"
                        "                width=550 height=400 scrolling='no' allowfullscreen>"),
              std::string::npos);
    std::string page = test::readBytes(kSource / "resources/web/tv360_player.html");
    replaceOnce(page, kSourcePlaceholder,
                "<SOURCE src=\"tour.mp4\" type='video/mp4'/>\r\n"
                "<SOURCE src=\"tour.webm\" type='video/webm'/>\r\n"
                "<SOURCE src=\"tour.ogv\" type='video/ogv'/>\r\n");
    replaceOnce(page, kTitlePlaceholder, "Тур &lt;1&gt;");
    replaceOnce(page, kColourPlaceholder, "bgcolor='#000000' ");
    EXPECT_EQ(test::withAboutPictureLinked(test::readBytes(out / "tv360_player.html"),
                                           test::readBytes(kSource / "resources/web/about.png")),
              page);
    std::string script(test::kDefaultScriptHead);
    script += "   var OS_HOTSPOTS = 1;\r\n" + test::emptySlotLines(0) + test::emptySlotLines(1);
    script += "HotSpotItem_pos[2]   = 12.5;\r\n"
              "HotSpotItem_time[2]  = 5;\r\n"
              "HotSpotItem_yaw[2]   = -90;\r\n"
              "HotSpotItem_title[2] = \"A - B\";\r\n"
              "HotSpotItem_link[2]  = \"http://example.org/\";\r\n"
              "HotSpotItem_self[2]  = false;\r\n";
    for (int k = 3; k < 10; ++k) {
        script += test::emptySlotLines(k);
    }
    EXPECT_EQ(test::unscrambled(test::readBytes(out / "js/ctr/cn0.js")),
              ScriptScrambler::joinedText(script));

    // The person's side: preview stopped, dialog as described, tick and success.
    EXPECT_EQ(ui.previewStops, 1);
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].title, "Publish Html5 web page");
    EXPECT_EQ(ui.dialogs[0].filterName, "Save as Presentation Html files (*.html)");
    EXPECT_EQ(ui.dialogs[0].filterPattern, "*.html");
    EXPECT_EQ(ui.dialogs[0].proposedName, "_presentation.html");
    EXPECT_EQ(ui.dialogs[0].startFolder, scratch.path().string());
    EXPECT_EQ(project.options.saveDir, out.string());
    EXPECT_EQ(ui.ticks, 1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Information:");
    EXPECT_EQ(ui.messages[0].text, "Publishing succeeded");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
}

TEST_F(PublisherTest, WithoutScramblingTheConfigurationStaysReadable) {
    project.options.transient.muted = true;
    project.options.fullScreen = true;
    project.options.htmlBgColor = 0x0000FF;
    ASSERT_EQ(publish({.scramble = false}).outcome, PublishOutcome::Published);
    PlayerOptions options = project.options;
    EXPECT_EQ(test::readBytes(out / "js/ctr/cn0.js"),
              ConfigScriptWriter::scriptText(resolvePublishedOptions(options).values, {}));
    const std::string page = test::readBytes(out / "tv360_player.html");
    EXPECT_NE(page.find("style=\"display:none\" muted"), std::string::npos);
    EXPECT_NE(page.find("bgcolor='#FF0000'  style="), std::string::npos);
    EXPECT_EQ(test::readBytes(out / "_presentation.html"),
              PresentationPageWriter::pageText({true, 0x0000FF, "550", "400", ""}));
}

TEST_F(PublisherTest, PageNamesGetHtmlByTheCaseInsensitiveRule) {
    EXPECT_EQ(Publisher::pageFileName("demo"), "demo.html");
    EXPECT_EQ(Publisher::pageFileName("  demo.HTML "), "demo.HTML");
    EXPECT_EQ(Publisher::pageFileName("demo.htm"), "demo.htm.html");
    EXPECT_EQ(Publisher::pageFileName("   "), "");

    ui.answer = (out / "demo").string();
    ASSERT_EQ(publish().outcome, PublishOutcome::Published);
    EXPECT_TRUE(fs::is_regular_file(out / "demo.html"));
    EXPECT_EQ(test::readBytes(out / "start_test_demo.bat"),
              "REM for local tests only\r\nstart http://127.0.0.1:8000/demo.html\r\n");

    ui.answer = (out / "Tour.HTML").string();
    ASSERT_EQ(publish().outcome, PublishOutcome::Published);
    EXPECT_TRUE(fs::is_regular_file(out / "Tour.HTML"));
    EXPECT_EQ(test::readBytes(out / "start_test_Tour.bat"),
              "REM for local tests only\r\nstart http://127.0.0.1:8000/Tour.HTML\r\n");
}

TEST_F(PublisherTest, MissingOrBlankFirstVideoStopsBeforeAnything) {
    for (const std::string video : {"", "    "}) {
        project.videos.set(1, video);
        const PublishResult result = publish();
        EXPECT_EQ(result.outcome, PublishOutcome::Stopped);
        EXPECT_EQ(result.stopReason, StopReason::NoVideo);
    }
    project.videos.set(1, (media / "absent.mp4").string());
    EXPECT_EQ(publish().stopReason, StopReason::VideoNotFound);
    project.videos.set(1, media.string()); // a folder is not a video file
    EXPECT_EQ(publish().stopReason, StopReason::VideoNotFound);

    ASSERT_EQ(ui.messages.size(), 4u);
    EXPECT_EQ(ui.messages[0].caption, "Предупреждение !");
    EXPECT_EQ(ui.messages[0].text,
              "Видео файл не выбран !\r\nПервый видео файл должен быть выбран !");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(ui.messages[2].caption, "Предупреждение !");
    EXPECT_EQ(ui.messages[2].text, "Видео файл не найден");
    EXPECT_EQ(ui.previewStops, 0);
    EXPECT_TRUE(ui.dialogs.empty());
    EXPECT_TRUE(filesUnder(out).empty());
}

TEST_F(PublisherTest, UnsupportedExtensionWritesNothing) {
    test::writeBytes(media / "tour.avi", "avi");
    project.videos.set(3, (media / "tour.avi").string());
    const PublishResult result = publish();
    EXPECT_EQ(result.outcome, PublishOutcome::Stopped);
    EXPECT_EQ(result.stopReason, StopReason::UnsupportedFormat);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Внимание !");
    EXPECT_EQ(ui.messages[0].text, "Данный формат видео не поддерживается");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(filesUnder(out).empty());
    EXPECT_FALSE(ui.saidSuccess());
}

TEST_F(PublisherTest, CancelledDialogStopsThePreviewAndWritesNothing) {
    for (const std::optional<std::string>& answer :
         {std::optional<std::string>{}, std::optional<std::string>{"   "}}) {
        ui.answer = answer;
        const PublishResult result = publish();
        EXPECT_EQ(result.stopReason, StopReason::Cancelled);
    }
    EXPECT_EQ(ui.previewStops, 2);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(project.options.saveDir, scratch.path().string());
    EXPECT_TRUE(filesUnder(out).empty());
}

TEST_F(PublisherTest, MissingSecondVideoIsReportedBeforeAnythingIsWritten) {
    project.videos.set(2, (media / "gone.webm").string());
    const PublishResult result = publish();
    EXPECT_EQ(result.outcome, PublishOutcome::FileSystemFailure);
    ASSERT_TRUE(result.failure);
    EXPECT_EQ(result.failure->path, (media / "gone.webm").string());
    EXPECT_FALSE(ui.saidSuccess());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("gone.webm"), std::string::npos);
    EXPECT_TRUE(filesUnder(out).empty());
}

TEST_F(PublisherTest, ManualSizeIsUsedOrRejectedWithTheMessage) {
    project.options.transient.manualSize = true;
    project.options.transient.manualWidth = "700";
    project.options.transient.manualHeight = "350";
    ASSERT_EQ(publish({.scramble = false}).outcome, PublishOutcome::Published);
    EXPECT_NE(test::readBytes(out / "_presentation.html").find("width=700 height=350 scrolling"),
              std::string::npos);
    EXPECT_NE(test::readBytes(out / "js/ctr/cn0.js")
                  .find("   var RENDER_X = 700;\r\n   var RENDER_Y = 350;"),
              std::string::npos);

    ui.messages.clear();
    project.options.transient.manualWidth = "319";
    ASSERT_EQ(publish({.scramble = false}).outcome, PublishOutcome::Published);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].caption, "Информация:");
    EXPECT_EQ(ui.messages[0].text,
              "Минимальный размер ширины окна - 320 pix\r\nМинимальный размер высоты  = 100 pix");
    EXPECT_EQ(ui.messages[1].text, "Publishing succeeded");
    EXPECT_EQ(project.options.transient.manualWidth, "320");
    EXPECT_EQ(project.options.transient.manualHeight, "100");
    EXPECT_NE(test::readBytes(out / "_presentation.html").find("width=550 height=400 scrolling"),
              std::string::npos);
}

TEST_F(PublisherTest, PublishingTwiceLeavesOneCopyWithOnlyTheNewContent) {
    project.options.hsIcons.fill(234); // the largest picture first
    test::writeBytes(out / "tour.mp4", "an older, much longer copy of the video file");
    ASSERT_EQ(publish().outcome, PublishOutcome::Published);
    const std::set<std::string> first = filesUnder(out);
    project.options.hsIcons.fill(201);
    ASSERT_EQ(publish().outcome, PublishOutcome::Published);
    EXPECT_EQ(filesUnder(out), first); // no temporary or stray files
    for (int slot = 1; slot <= 10; ++slot) {
        const bool same = test::readBytes(out / ("images/hs" + std::to_string(slot) + ".gif")) ==
                          test::readBytes(kSource / "resources/hotspots/hs201.gif");
        EXPECT_TRUE(same) << slot;
    }
    EXPECT_EQ(test::readBytes(out / "tour.mp4"), "mp4 video bytes");
}

TEST_F(PublisherTest, VideoAlreadyInTheOutputFolderIsLeftAlone) {
    test::writeBytes(out / "local.mp4", "the video itself");
    project.videos.set(1, (out / "local.mp4").string());
    struct stat before {};
    ASSERT_EQ(::stat((out / "local.mp4").c_str(), &before), 0);
    ASSERT_EQ(publish().outcome, PublishOutcome::Published);
    struct stat after {};
    ASSERT_EQ(::stat((out / "local.mp4").c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(test::readBytes(out / "local.mp4"), "the video itself");
    EXPECT_TRUE(fs::is_regular_file(out / "tv360_player.html"));
    EXPECT_TRUE(ui.saidSuccess());
}

TEST_F(PublisherTest, UnwritableFolderIsReportedNotCalledSuccess) {
    // A file where the images folder belongs cannot be replaced by a folder.
    test::writeBytes(out / "images", "in the way");
    PublishResult result = publish();
    EXPECT_EQ(result.outcome, PublishOutcome::FileSystemFailure);
    ASSERT_TRUE(result.failure);
    EXPECT_EQ(result.failure->path, (out / "images").string());
    EXPECT_FALSE(result.failure->reason.empty());
    EXPECT_FALSE(ui.saidSuccess());
    EXPECT_EQ(ui.ticks, 0);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().text, Publisher::failureMessage(*result.failure));
    EXPECT_FALSE(fs::exists(out / "tv360_player.html"));

    // A page whose folder lies below a file.
    ui.messages.clear();
    ui.answer = (out / "images" / "page.html").string();
    result = publish();
    EXPECT_EQ(result.outcome, PublishOutcome::FileSystemFailure);
    EXPECT_FALSE(ui.saidSuccess());
}

// A folder (not empty) where a video copy belongs refuses the final rename,
// for root as well; the full-size temporary copy must not stay in the package.
TEST_F(PublisherTest, VideoCopyThatCannotReplaceAFolderLeavesNoTemporary) {
    fs::create_directories(out / "tour.mp4");
    test::writeBytes(out / "tour.mp4" / "keep", "");
    const PublishResult result = publish();
    EXPECT_EQ(result.outcome, PublishOutcome::FileSystemFailure);
    ASSERT_TRUE(result.failure);
    EXPECT_EQ(result.failure->path, (out / "tour.mp4").string());
    for (const std::string& file : filesUnder(out)) {
        EXPECT_EQ(file.find(".qmtmp-"), std::string::npos) << file;
    }
}

TEST_F(PublisherTest, ReadOnlyOutputFolderIsReported) {
    // Permissions do not bind the superuser; /proc refuses new files to anyone.
    const bool root = ::geteuid() == 0;
    const fs::path folder = root ? fs::path("/proc") : out;
    if (!root) {
        fs::permissions(out, fs::perms::owner_read | fs::perms::owner_exec);
    }
    ui.answer = (folder / "tour.html").string();
    const PublishResult result = publish();
    fs::permissions(out, fs::perms::owner_all);
    EXPECT_EQ(result.outcome, PublishOutcome::FileSystemFailure);
    ASSERT_TRUE(result.failure);
    EXPECT_EQ(result.failure->path, (folder / "tour.mp4").string()); // the copies come first
    EXPECT_FALSE(result.failure->reason.empty());
    EXPECT_FALSE(ui.saidSuccess());
    EXPECT_TRUE(filesUnder(out).empty());
}

TEST_F(PublisherTest, EveryOutputPathIsCheckedBeforeAnythingIsWritten) {
    fs::create_directories(out / "_presentation.html");
    PublishResult result = publish();
    ASSERT_TRUE(result.failure);
    EXPECT_EQ(*result.failure,
              (FileError{(out / "_presentation.html").string(), "a folder of that name exists"}));
    EXPECT_TRUE(filesUnder(out).empty()) << "written before the page's path was checked";

    // The launcher's name passes 255 bytes before the page's does.
    const std::string longName(245, 'p');
    ui.answer = (out / (longName + ".html")).string();
    result = publish();
    ASSERT_TRUE(result.failure);
    EXPECT_EQ(*result.failure, (FileError{(out / ("start_test_" + longName + ".bat")).string(),
                                          "File name too long"}));
    EXPECT_TRUE(filesUnder(out).empty());

    // A name that just fits is written through a temporary file of a shorter name.
    ui.answer = (out / (longName.substr(5) + ".html")).string();
    EXPECT_EQ(publish().outcome, PublishOutcome::Published);
    EXPECT_TRUE(fs::exists(out / ("start_test_" + longName.substr(5) + ".bat")));
}

TEST_F(PublisherTest, AVideoThatIsNoFileIsNamedWithTheReason) {
    fs::create_directories(media / "hall.webm");
    fs::create_symlink("/dev/zero", media / "device.mp4");
    for (const fs::path& video : {media / "hall.webm", media / "device.mp4"}) {
        project.videos.set(2, video.string());
        const PublishResult result = publish();
        ASSERT_TRUE(result.failure);
        EXPECT_EQ(*result.failure, (FileError{video.string(), "not a regular file"}));
    }
    EXPECT_TRUE(filesUnder(out).empty());
}

TEST_F(PublisherTest, TemporaryFilesOfAKilledPublicationGoAtTheNext) {
    const std::vector<fs::path> stale = {out / "tour.mp4.qmtmp-0123456789ab",
                                         out / "js" / "ctr" / "cn0.js.tmp-ab12cd34",
                                         out / "images" / "hs1.gif.tmp-zz99zz99"};
    const std::vector<fs::path> others = {out / "notes.tmp-draft", out / "a.mp4.qmtmp-final",
                                          out / "js" / "more" / "x.js.tmp-ab12cd34"};
    for (const std::vector<fs::path>& files : {stale, others}) {
        for (const fs::path& file : files) {
            fs::create_directories(file.parent_path());
            test::writeBytes(file, "left behind");
        }
    }
    ASSERT_EQ(publish().outcome, PublishOutcome::Published);
    for (const fs::path& file : stale) {
        EXPECT_FALSE(fs::exists(file)) << file;
    }
    for (const fs::path& file : others) {
        EXPECT_TRUE(fs::exists(file)) << file;
    }
}

} // namespace
} // namespace qm
