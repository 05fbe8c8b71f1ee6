#!/usr/bin/python3
"""audit.py PROGRAM DATA_FOLDER MODULE...: what a screen reader finds in the built program over
AT-SPI. Every control that takes the focus in its windows has a name, and the player's picture
buttons can be pressed. Needs dbus-run-session; brings its own X server and sound server."""
import os, shutil, subprocess, sys, tempfile, time, wave
import pyatspi

PROGRAM, DATA, *MODULES = sys.argv[1:]
# Captions of the English interface, as the accessibility layer gives them (no accelerator marks).
OPENED_FROM_MENUS = ["Show bookmarks", "Show waveform", "Find", "Go to", "Sound options"]


def wait_for(what, condition):
    for _ in range(300):
        try:
            found = condition()
        except Exception:  # the tree changes under the walk while windows open
            found = None
        if found:
            return found
        time.sleep(0.2)
    raise AssertionError("no " + what)


def descendants(node):
    for child in filter(None, node):
        yield child
        yield from descendants(child)


def named(root, name, role):
    return next((n for n in descendants(root) if n.name == name and n.getRole() == role), None)


def shown(app):
    return [w for w in filter(None, app) if w.getState().contains(pyatspi.STATE_VISIBLE)]


def press(node):
    actions = node.queryAction()
    names = [actions.getName(i).lower() for i in range(actions.nActions)]
    assert "press" in names, f"{node.name!r} has no press action, only {names}"
    actions.doAction(names.index("press"))


def nameless(window):  # disabled ones too: a screen reader lists them
    if window.getRole() not in (pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG):
        yield f"{window.name}: a window seen as a {window.getRoleName()}"
    for node in descendants(window):
        states = node.getState()
        if (states.contains(pyatspi.STATE_FOCUSABLE) and states.contains(pyatspi.STATE_VISIBLE)
                and not node.name.strip()):
            yield f"{window.name}: a nameless {node.getRoleName()} in {node.parent.name!r}"


def start(work):
    app, runtime, recording = (os.path.join(work, n) for n in ("app", "runtime", "tone.wav"))
    os.makedirs(app)
    os.makedirs(runtime, mode=0o700)
    shutil.copy(PROGRAM, app)
    for module in MODULES:
        os.symlink(os.path.abspath(module), os.path.join(app, os.path.basename(module)))
    shutil.copytree(DATA, os.path.join(work, "data", "vocarta"))
    with wave.open(recording, "wb") as out:
        out.setparams((1, 2, 8000, 0, "NONE", None))
        out.writeframes(b"\x00\x10\x00\xf0" * 4000 * 30)
    env = dict(os.environ, HOME=work, XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="xcb",
               XDG_DATA_HOME=os.path.join(work, "data"), QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               PULSE_SERVER="unix:" + os.path.join(runtime, "pulse", "native"))
    read, write = os.pipe()
    # -noreset: a server resetting as its last client leaves turns away one connecting meanwhile.
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-nolisten", "tcp", "-noreset"],
                            pass_fds=[write], stderr=subprocess.DEVNULL)
    env["DISPLAY"] = ":" + os.read(read, 16).decode().strip()
    sound = subprocess.Popen(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                              "--load=module-native-protocol-unix auth-anonymous=1",
                              "--load=module-null-sink sink_name=out"], env=env,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for("sound server", lambda: subprocess.run(["pactl", "info"], env=env,
                                                    capture_output=True).returncode == 0)
    return [subprocess.Popen([os.path.join(app, "vocarta"), recording], env=env), sound, xvfb]


def audit():
    vocarta = wait_for("program on the accessibility bus", lambda: next(
        a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "vocarta"))
    player = wait_for("player window", lambda: named(vocarta, "Vocarta", pyatspi.ROLE_FRAME))
    # The transport buttons as a screen reader presses them; the command line's recording plays.
    play = wait_for("play button", lambda: named(player, "Pause", pyatspi.ROLE_PUSH_BUTTON))
    for action, shows in (("Pause", "Play"), ("Play", "Pause"), ("Skip forward", "Pause"),
                          ("Stop", "Play"), ("Record", "Play")):
        press(named(player, action, pyatspi.ROLE_PUSH_BUTTON))
        wait_for(f"{shows} offered after {action}", lambda: play.name == shows)
    wait_for("recorder window", lambda: any(w.name == "Record" for w in shown(vocarta)))

    opening = OPENED_FROM_MENUS
    if not any(w.name.startswith("Text editor") for w in shown(vocarta)):
        opening = ["Show text editor"] + opening
    for caption in opening:
        item = wait_for("menu item " + caption, lambda: next(
            n for n in descendants(vocarta)
            if n.getRole() == pyatspi.ROLE_MENU_ITEM and n.name.rstrip(".…") == caption))
        windows = len(shown(vocarta))
        press(item)
        wait_for("window from " + caption, lambda: len(shown(vocarta)) > windows)
    problems = []
    for window in shown(vocarta):
        print("audited:", window.getRoleName(), repr(window.name), flush=True)
        problems += nameless(window)
    return problems


def main():
    work = tempfile.mkdtemp()
    processes = start(work)
    try:
        problems = audit()
    finally:
        for process in processes:
            process.terminate()
            process.wait(60)
        shutil.rmtree(work)
    if processes[0].returncode != 0:
        problems.append(f"the program ended with status {processes[0].returncode}")
    print(*problems, sep="\n")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
