"""Real input on a real skinned window: the skin preview under Wine, driven with xdotool. The
window must drag by its caption area, resize by its border, click its buttons, close with the
right code, and move the keyboard focus and press buttons from the keyboard."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from preview_driver import Preview  # noqa: E402

EXE = os.environ.get("SKIN_PREVIEW_EXE", "")

# Places in the 650x360 window of skin.xml, page 0.
EMPTY_CAPTION = (300, 60)
INSTALL = (240, 208)
CLOSE_BUTTON = (629, 21)
AGREE = (28, 336)
RIGHT_BORDER = (648, 180)
LEFT_BORDER = (2, 180)

# Tab order of page 0: the shown, enabled, focusable controls in tree order.
TAB_ORDER = ["minbtn", "closebtn", "btn_install", "btn_start", "chk_agree", "btn_lisence",
             "chk_fold"]


def notifications(events, kind):
    return [e.split()[2] for e in events if e.startswith("notify %s " % kind)]


class WindowInputTest(unittest.TestCase):
    def test_closing_codes(self):
        cases = [
            ("Escape", lambda p: p.key("Escape"), 1, []),
            ("closebtn", lambda p: p.click(*CLOSE_BUTTON), 1, ["closebtn"]),
            ("Alt+F4", lambda p: p.key("alt+F4"), 0, []),
        ]
        for what, act, code, clicks in cases:
            with self.subTest(what), Preview(EXE) as preview:
                act(preview)
                # The preview's exit code is the modal loop's result: the close code.
                self.assertEqual(code, preview.wait_exit())
                events = preview.events()
                self.assertEqual(["close %d" % code],
                                 [e for e in events if e.startswith("close")])
                self.assertEqual(clicks, notifications(events, "click"))

    def test_caption_drags_border_resizes_buttons_click(self):
        cases = [
            # what, press at, move by, expected change of (x, y, width, height), clicks
            ("empty caption area", EMPTY_CAPTION, (40, 25), (40, 25, 0, 0), []),
            ("btn_install inside the caption area", INSTALL, (0, 0), (0, 0, 0, 0),
             ["btn_install"]),
            ("right border", RIGHT_BORDER, (30, 0), (0, 0, 30, 0), []),
            ("left border", LEFT_BORDER, (-20, 0), (-20, 0, 20, 0), []),
        ]
        for what, at, by, change, clicks in cases:
            with self.subTest(what), Preview(EXE) as preview:
                before = preview.geometry()
                preview.drag(at[0], at[1], by[0], by[1])
                after = preview.geometry()
                self.assertEqual(change, tuple(a - b for a, b in zip(after, before)))
                self.assertEqual(clicks, notifications(preview.events(), "click"))

    def test_keyboard_moves_focus_and_presses(self):
        with Preview(EXE) as preview:
            preview.key(*["Tab"] * (len(TAB_ORDER) + 1))
            preview.key("shift+Tab")
            self.assertTrue(preview.wait_for_event("notify setfocus chk_fold 0 0"))
            focus = notifications(preview.events(), "setfocus")
            self.assertEqual(TAB_ORDER + TAB_ORDER[:1] + TAB_ORDER[-1:], focus)

        cases = [
            ("Space", "space", ["btn_install"]),
            ("Enter", "Return", ["btn_install"]),
        ]
        for what, key, clicks in cases:
            with self.subTest(what), Preview(EXE) as preview:
                preview.key("Return")  # nothing has the focus: Enter does nothing
                preview.key("Tab", "Tab", "Tab", key)
                self.assertTrue(preview.wait_for_event("notify click btn_install 0 0"))
                self.assertEqual(clicks, notifications(preview.events(), "click"))
                self.assertIsNone(preview.proc.poll())

    def test_click_toggles_check_box(self):
        with Preview(EXE) as preview:
            preview.click(*AGREE)
            preview.click(*AGREE)
            self.assertTrue(preview.wait_for_event("notify click chk_agree 0 0"))
            events = [e for e in preview.events() if "chk_agree" in e and "focus" not in e]
            self.assertEqual(["notify click chk_agree 0 0", "notify selectchanged chk_agree 0 0"] * 2,
                             events)


if __name__ == "__main__":
    if len(sys.argv) > 1:
        EXE = sys.argv.pop(1)
    unittest.main(verbosity=2)
