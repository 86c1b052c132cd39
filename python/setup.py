"""The extension of the package tagvaroskop, built as CMake builds it: the pybind11 module over the
model's sources in solar/ and dialog_model/, C++20, without fused multiply-add (the results are
defined to the bit), with the version that the programs carry (the top CMakeLists.txt)."""
import os
import pathlib
import re

from pybind11.setup_helpers import Pybind11Extension, build_ext
from setuptools import setup

HERE = pathlib.Path(__file__).resolve().parent
SOURCE = HERE.parent
VERSION = re.search(r"project\(tagvaroskop VERSION ([0-9.]+)", (SOURCE / "CMakeLists.txt").read_text())[1]


def sources(folder):
    return sorted(os.path.relpath(path, HERE) for path in (SOURCE / folder).glob("*.cpp"))


extension = Pybind11Extension(
    "tagvaroskop._tagvaroskop",
    ["_tagvaroskop.cpp", *sources("solar"), *sources("dialog_model")],
    include_dirs=[str(SOURCE)],
    cxx_std=20,
    define_macros=[("TAGVAROSKOP_VERSION", f'"{VERSION}"')],
    extra_compile_args=["-ffp-contract=off", "-fno-math-errno", "-O3", "-DNDEBUG"],
)

setup(version=VERSION, ext_modules=[extension], cmdclass={"build_ext": build_ext})
