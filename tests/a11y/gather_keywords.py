"""A screen reader user's Gather Keywords, over AT-SPI: every step finds its control by role and name in the
accessible tree the program publishes, and acts through the control's accessible action or text."""
import subprocess
import sys
import time

import pyatspi

# How long a step may take before the test gives up (a hang fails instead of blocking CI).
PATIENCE_S = 60


def describe(root, depth=0, out=None):
    """The tree as indented lines of role and name, for the message of a step that failed."""
    out = [] if out is None else out
    if root is None or depth > 12:
        return out
    out.append("  " * depth + f"{root.getRoleName()} {root.name!r}")
    for child in root:
        describe(child, depth + 1, out)
    return out


APP = None


PROGRAM = None


def wait_for(what, find):
    deadline = time.monotonic() + PATIENCE_S
    while time.monotonic() < deadline:
        if PROGRAM is not None and PROGRAM.poll() is not None:
            sys.exit(f"the program ended (exit status {PROGRAM.returncode}) while waiting for: {what}")
        try:
            found = find()
        except Exception:  # the tree changes under us while windows open and close
            found = None
        if found:
            return found
        time.sleep(0.1)
    tree = "\n".join(describe(APP)) if APP is not None else "(the program never appeared)"
    sys.exit(f"not found over AT-SPI: {what}\n{tree}")


def application(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def descendant(root, role, name):
    return pyatspi.findDescendant(root, lambda n: n is not None and n.getRole() == role and n.name == name)


def press(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        sys.exit(f"{node.name!r} offers no Press action, only {names}")
    action.doAction(names.index("Press"))


def start(path):
    """The program, found on the accessibility bus. On a loaded machine a fresh virtual display now and then
    turns the program's first connection away ("could not connect to display"): a program that ends before it
    appears is started again, at most twice, and said so."""
    global PROGRAM
    for attempt in range(3):
        PROGRAM = subprocess.Popen([path], cwd=path.rsplit("/", 1)[0])
        deadline = time.monotonic() + PATIENCE_S
        while time.monotonic() < deadline and PROGRAM.poll() is None:
            try:
                found = application(PROGRAM.pid)
            except Exception:  # the bus answers while applications come and go
                found = None
            if found:
                return found
            time.sleep(0.1)
        if PROGRAM.poll() is None:
            break
        print(f"the program ended (exit status {PROGRAM.returncode}) before it appeared; attempt {attempt + 1} of 3",
              file=sys.stderr)
    return wait_for("the program", lambda: application(PROGRAM.pid))


def main():
    global APP
    app = APP = start(sys.argv[1])
    program = PROGRAM
    try:
        button = pyatspi.ROLE_PUSH_BUTTON
        press(wait_for("Main Keyword", lambda: descendant(app, button, "Main Keyword")))
        dialog = wait_for("the Main Keyword dialog", lambda: descendant(app, pyatspi.ROLE_DIALOG, "Main Keyword"))
        label = "Please type the main keyword(s) Eg: golf, soccer:"
        edit = wait_for("the main keyword edit", lambda: descendant(dialog, pyatspi.ROLE_TEXT, label))
        edit.queryEditableText().setTextContents("golf clubs")
        press(wait_for("Ok", lambda: descendant(dialog, button, "Ok")))
        status = wait_for("the status bar", lambda: descendant(app, pyatspi.ROLE_STATUS_BAR, "Main Keyword: golf clubs"))
        print("main keyword:", status.name)

        gather = wait_for("Gather Keywords", lambda: descendant(app, button, "Gather Keywords"))
        press(gather)
        done = "Process completed sucessfull!"
        panel = wait_for(f"status {done!r}", lambda: descendant(app, pyatspi.ROLE_STATUS_BAR, done))
        print("status:", panel.name)
        listed = wait_for("the row count", lambda: pyatspi.findDescendant(
            app, lambda n: n is not None and n.getRole() == pyatspi.ROLE_STATUS_BAR and "listed" in n.name
            and not n.name.startswith("0 ")))
        print("rows:", listed.name)
    finally:
        program.terminate()
        program.wait(timeout=30)


if __name__ == "__main__":
    main()
