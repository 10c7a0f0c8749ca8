"""Helpers the Python tests share: the checkout, Windows paths under Wine, files to hash."""
import os

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run")  # runs a Windows program on the tests' prefix


def win(path):
    """The Windows form of a Linux path, under Wine's Z: drive."""
    return "Z:" + path.replace("/", "\\")


def write(folder, relative, content):
    """Writes a file (and its folders) below `folder`; returns its path."""
    path = os.path.join(folder, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(content)
    return path
