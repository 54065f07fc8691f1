"""The install flow end to end under Wine: the real program, and the window driver (the same
window and flow with a report channel), against the local stand-in of the maker's services,
driven as a person would: clicks on the skin's controls, message boxes answered with keys.
Each scenario is chosen through the servers' answers and the sample installer's options."""

import os
import re
import shutil
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import flow_world as world  # noqa: E402
from flow_world import DOWNLOAD_HOST, INSTALLER_PATH, wait_until  # noqa: E402
from window_driver import Driver, Program, green_run, log_messages, log_records, run  # noqa: E402
from window_driver import work_folder  # noqa: E402

DRIVER = ""
PROGRAM = ""
BUILD = ""
ENGLISH = {"LC_ALL": "en_US.UTF-8"}
ARABIC = {"LC_ALL": "ar_SA.UTF-8"}
QUICK = {"REPAVIO_SETUP_DURATION_MS": "1000"}  # the sample installer's 0 to 100 %
TITLE = "Orbitane Repavio Setup"
CONFIGURED = "/" + INSTALLER_PATH
FW = "\xa3\xba"  # the log's full-width colon, read as Latin-1
STARTED, DOWNLOADED, INSTALLED = "Downloader_Start_Install", "Downloader_Installed", "Installed_Succeed"
NETWORK_ERROR = ("Network error. Please check your network settings.\\n\\nClick Abort to cancel "
                 "installation, Retry to try again, or Ignore to download via browser.")
DRIVER_WORK = work_folder(Driver.TITLE)

services = None
shell = None


def at(modes, path=INSTALLER_PATH):
    """An address on the download server, served with the ranged server's fault |modes|."""
    return "http://%s/x/%s/%s" % (DOWNLOAD_HOST, modes, path)


def in_work(name, title=Driver.TITLE):
    return os.path.exists(os.path.join(work_folder(title), name))


def product_window():
    return run("xdotool", "search", "--onlyvisible", "--name", "^Orbitane Repavio [0-9]",
               check=False).split()


def setUpModule():
    global services, shell
    world.trust_test_ca(BUILD)
    services = world.Services(BUILD)
    unittest.addModuleCleanup(services.close)
    shell = world.ShellRecorder(services.folder).__enter__()
    unittest.addModuleCleanup(shell.__exit__)


class FlowTest(unittest.TestCase):
    def start(self, env=ENGLISH, installer=QUICK, product_running=False, **api):
        """The driver on a fresh work folder, the address API answering as |api| says."""
        world.fresh_start(Driver.TITLE)
        services.clear()
        services.answer_api(**api)
        self.product = self.start_product() if product_running else None
        driver = Driver(DRIVER, dict(env, **installer))
        self.addCleanup(driver.end)
        return driver

    def start_product(self):
        """The product as installed before and running from its folder."""
        os.makedirs(world.product_folder())
        exe = os.path.join(world.product_folder(), "Repavio.exe")
        shutil.copy(os.path.join(BUILD, "tools", "sample-product", "Repavio.exe"), exe)
        proc = subprocess.Popen(["wine", exe], stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: proc.poll() is None and (proc.kill(), proc.wait()))
        self.assertTrue(wait_until(product_window, 30))
        return proc

    def wait_report(self, driver, timeout=60, **expected):
        """The driver's report once it shows |expected|."""
        def matching():
            report = driver.report()
            return report if all(report[k] == v for k, v in expected.items()) else None
        report = wait_until(matching, timeout, 0.3)
        self.assertTrue(report, "never %r; the log ends %r"
                        % (expected, log_messages(Driver.TITLE)[-6:]))
        return report

    def box(self, driver, title=TITLE, timeout=60):
        """The one message box the program shows: its texts and layout ("ltr" or "rtl")."""
        boxes = wait_until(driver.dialogs, timeout, 0)
        self.assertEqual([title], [box[0] for box in boxes])
        return boxes[0][1], boxes[0][2]

    def assertInOrder(self, messages, markers):
        position = -1
        for marker in markers:
            later = [i for i, m in enumerate(messages) if m == marker and i > position]
            self.assertTrue(later, "%r missing after %r" % (marker, messages[position]))
            position = later[0]


class HappyRoadTest(FlowTest):
    def test_install_then_start(self):
        # One range comes slowly (about 4 s), so that the bar is seen on its way.
        target = at("slow-conn:1:30000")
        world.fresh_start("tandrel-download")
        services.clear()
        services.answer_api(location=target)
        before = len(shell.opened())
        with Program(PROGRAM, dict(ENGLISH, **QUICK)) as program:
            fills, messages = world.drive_install(program, "tandrel-download")
            self.assertEqual(0, program.wait_exit(20))
        self.assertTrue(wait_until(product_window, 30), "Start launched no product")
        # The product that Start launched must not linger into the next test.
        for window in product_window():
            run("xdotool", "windowkill", window, check=False)
        self.assertTrue(wait_until(lambda: not product_window(), 10))

        self.assertInOrder(messages, [
            "OnClickInstall", "sel path:C:\\Program Files (x86)\\", "sel path end",
            "send ga begin", "send ga end", "change page downloading begin",
            "UpdateWindowSate:kWindow_Downloading", "change page downloading end",
            "HttpDownloadEnd" + FW + "Success", "UpdateWindowSate:kWindow_Installing",
            "StartInstallExe" + FW + "SilentInstallation", "UpdateWindowSate:kWindow_Finish",
            "InstallExeFinish"])
        self.assertInOrder(messages, [
            "sel path end", "get redirect Url:" + target, "get file size begin",
            "get file size end", "get disk size begin", "get disk size end",
            "HttpDownloadEnd" + FW + "Success"])
        records = log_records("tandrel-download")
        finish = next(t for t, m in records if m == "InstallExeFinish")
        print("happy road: %.1f s from the program's start to the finish page"
              % (finish - records[0][0]).total_seconds(), file=sys.stderr)

        # The bar rose through the download to the installer's share; the finish page has none.
        shown = [f for f in fills if f != 0]
        self.assertEqual(sorted(shown), shown, fills)
        self.assertTrue(any(0 < f < 0.85 for f in shown), fills)
        self.assertGreaterEqual(max(shown), 0.89)

        folder = world.product_folder()
        self.assertTrue(os.path.isfile(os.path.join(folder, "Repavio.exe")))
        with open(os.path.join(folder, "domain"), "rb") as f:
            self.assertEqual(b"com_english", f.read())
        with open(os.path.join(work_folder("tandrel-download"), world.COMMAND_LINE_FILE),
                  encoding="utf-8") as f:
            self.assertEqual(' /verysilent /tandrel_down /wait_run /path="C:\\Program Files '
                             '(x86)\\" /progress="C:\\Program Files (x86)\\tandrel_down\\'
                             'tandrel-download\\temp.progress"', f.read())
        self.assertFalse(in_work("tandrel-download.exe", "tandrel-download"))
        self.assertFalse(in_work("temp.progress", "tandrel-download"))
        self.assertEqual([STARTED, DOWNLOADED, INSTALLED], services.events())
        # Only the redirect's target was fetched; the post-install page opened in the browser.
        self.assertEqual({"/x/slow-conn:1:30000/" + INSTALLER_PATH},
                         {path for _, _, path in services.requests()})
        self.assertEqual(1, len(shell.opened()) - before)
        self.assertIn("key=installed", shell.opened()[-1])


class PreparationTest(FlowTest):
    def test_not_enough_disk_space(self):
        cases = [
            # UI language, the box's title and message, its layout
            (ENGLISH, TITLE, "Insufficient storage. Storage required: 3145728 MB", "ltr"),
            (ARABIC, "إعداد Orbitane Repavio",
             "مساحة التخزين غير كافية. المساحة المطلوبة: 3145728 ميغابايت", "rtl"),
        ]
        for env, title, message, layout in cases:
            with self.subTest(layout):
                # A 1 TiB installer needs three times its size in MiB.
                driver = self.start(env, location=at("announce:%d" % (1 << 40)))
                driver.click(*world.INSTALL_BUTTON)
                texts, shown_layout = self.box(driver, title)
                self.assertEqual(message, texts.split("|")[-1])
                self.assertEqual(layout, shown_layout)
                driver.key("Return")
                report = self.wait_report(driver, state="0", page="0", label="0 %")
                # The right-to-left skin reads the bar from the other end.
                self.assertEqual(("100", "1") if layout == "rtl" else ("0", "0"),
                                 (report["bar"], report["rtl"]))
                self.assertNotIn("GET", [method for _, method, _ in services.requests()])

    def test_address_api_answers_that_are_not_followed(self):
        moved = at("tag:moved")
        for status in [301, 200, None]:  # None: nothing listens
            with self.subTest(status):
                driver = self.start(status=status, location=moved)
                driver.click(*world.INSTALL_BUTTON)
                # The configured address is measured and fetched instead.
                self.assertTrue(wait_until(lambda: any(
                    path == CONFIGURED for _, _, path in services.requests()), 60))
                self.assertNotIn("tag:moved", str(services.requests()))
                self.assertFalse(any(m.startswith("get redirect Url")
                                     for m in log_messages(Driver.TITLE)))
                driver.end()


class DownloadFailureTest(FlowTest):
    def test_abort_closes_and_cleans(self):
        # Every ranged request alternates between two versions of the file: it keeps changing.
        services.put(INSTALLER_PATH + ".v2")
        driver = self.start(location=at("flip"))
        driver.click(*world.INSTALL_BUTTON)
        texts, _ = self.box(driver)
        self.assertEqual(NETWORK_ERROR, texts.split("|")[-1])
        self.assertTrue(in_work("tandrel-download.exe"), "nothing was downloaded to clean")
        driver.key("a")
        self.assertEqual(0, driver.wait_exit(20))
        self.assertFalse(in_work("tandrel-download.exe"))

    def test_retry_downloads_again(self):
        driver = self.start(location="http://%s/later/setup.exe" % DOWNLOAD_HOST)
        driver.click(*world.INSTALL_BUTTON)
        self.box(driver)  # the file is not there yet
        services.put("later/setup.exe")
        driver.key("r")
        self.wait_report(driver, state="3", start="1", label="100 %")
        self.assertEqual([STARTED, DOWNLOADED, INSTALLED], services.events())

    def test_ignore_opens_the_address_in_the_browser(self):
        target = "http://%s/missing/setup.exe" % DOWNLOAD_HOST
        before = len(shell.opened())
        driver = self.start(location=target)
        driver.click(*world.INSTALL_BUTTON)
        self.box(driver)
        driver.key("i")
        self.wait_report(driver, state="0", page="0", label="0 %")
        self.assertTrue(wait_until(lambda: shell.opened()[before:], 10))
        self.assertEqual([target], shell.opened()[before:])

    def test_untrusted_download_is_never_started(self):
        tampered = bytearray(services.installer_bytes())
        tampered[len(tampered) // 3] ^= 1
        with open(os.path.join(BUILD, "tests", "trust", "signed-by-other-publisher.exe"),
                  "rb") as f:
            other = f.read()
        cases = [("changed after signing", bytes(tampered), "bad digest"),
                 ("signed by another publisher", other, "wrong publisher")]
        for what, data, reason in cases:
            with self.subTest(what):
                services.put("untrusted/setup.exe", data)
                driver = self.start(location="http://%s/untrusted/setup.exe" % DOWNLOAD_HOST)
                driver.click(*world.INSTALL_BUTTON)
                texts, _ = self.box(driver)
                self.assertEqual(NETWORK_ERROR, texts.split("|")[-1])
                # Removed before the question, never run.
                self.assertFalse(in_work("tandrel-download.exe"))
                self.assertFalse(in_work(world.COMMAND_LINE_FILE))
                self.assertTrue(any(reason in m for m in log_messages(Driver.TITLE)))
                driver.key("a")
                self.assertEqual(0, driver.wait_exit(20))
                self.assertEqual([STARTED], services.events())
                self.assertFalse(os.path.exists(world.product_folder()))


class InstallationTest(FlowTest):
    def test_installer_exit_codes(self):
        for code in ["1603", "3010"]:
            with self.subTest(code):
                driver = self.start(installer=dict(QUICK, REPAVIO_SETUP_EXIT_CODE=code))
                driver.click(*world.INSTALL_BUTTON)
                if code == "1603":
                    texts, _ = self.box(driver)
                    self.assertEqual("Orbitane Repavio could not be installed. Please try again.",
                                     texts.split("|")[-1])
                    driver.key("Return")
                    self.wait_report(driver, state="0", page="0", label="0 %", start="0")
                    self.assertEqual([STARTED, DOWNLOADED], services.events())
                    self.assertFalse(in_work("tandrel-download.exe"))
                else:
                    self.wait_report(driver, state="3", start="1")
                    self.assertEqual([STARTED, DOWNLOADED, INSTALLED], services.events())
                self.assertTrue(any(re.search(r"(failed|restart).*%s" % code, m)
                                    for m in log_messages(Driver.TITLE)))

    def test_product_running_cancel_keeps_it(self):
        driver = self.start(product_running=True)
        driver.click(*world.INSTALL_BUTTON)
        texts, _ = self.box(driver)
        self.assertTrue(texts.startswith("OK|Cancel|Orbitane Repavio is running."), texts)
        driver.key("Escape")  # Cancel
        self.assertEqual(0, driver.wait_exit(20))
        self.assertIsNone(self.product.poll())
        self.assertFalse(in_work(world.COMMAND_LINE_FILE))
        self.assertFalse(in_work("tandrel-download.exe"))
        self.assertNotIn(INSTALLED, services.events())

    def test_product_running_ok_ends_it_arabic(self):
        # A slower installer, so that its share of the bar can be seen.
        driver = self.start(ARABIC, {"REPAVIO_SETUP_DURATION_MS": "6000"}, product_running=True)
        driver.click(*world.INSTALL_BUTTON)
        texts, layout = self.box(driver, "إعداد Orbitane Repavio")
        self.assertEqual("rtl", layout)
        self.assertIn("Orbitane Repavio قيد التشغيل", texts)
        driver.key("Return")  # OK
        self.assertIsNotNone(wait_until(lambda: self.product.poll() is not None, 20))
        report = self.wait_report(driver, state="2", rtl="1")
        self.assertGreaterEqual(green_run(driver, "rtl"), 0.89)  # grows from the right
        self.assertGreaterEqual(100 - int(report["bar"]), 90)
        self.wait_report(driver, state="3", start="1", label="100 %")
        self.assertTrue(in_work(world.COMMAND_LINE_FILE))


class CloseQuestionTest(FlowTest):
    def test_no_keeps_the_download_running(self):
        driver = self.start(location=at("rate:15000"))  # about 8 s of download
        driver.click(*world.INSTALL_BUTTON)
        self.wait_report(driver, state="1")
        driver.key("Escape")
        texts, _ = self.box(driver)
        self.assertIn("Installation is in progress. Are you sure you want to quit?", texts)
        driver.key("n")
        self.wait_report(driver, 90, state="3", start="1")
        self.assertEqual([STARTED, DOWNLOADED, INSTALLED], services.events())


if __name__ == "__main__":
    if len(sys.argv) > 3:
        DRIVER, PROGRAM, BUILD = sys.argv.pop(1), sys.argv.pop(1), sys.argv.pop(1)
    unittest.main(verbosity=2)
