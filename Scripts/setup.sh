#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the application need, when any is missing.
set -euo pipefail

packages=(cmake ninja-build g++ python3 libgtest-dev libgmock-dev libbenchmark-dev libfreetype-dev libpng-dev
	fonts-dejavu-core fonts-droid-fallback fonts-symbola ccache rapidjson-dev libexpat1-dev libass-dev pkg-config
	libicu-dev clang libclang-rt-14-dev libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev)
missing=()
for package in "${packages[@]}"; do
	if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
		missing+=("$package")
	fi
done
if [ ${#missing[@]} -gt 0 ]; then
	echo "Installing: ${missing[*]}"
	sudo_cmd=""
	if [ "$(id -u)" -ne 0 ]; then
		sudo_cmd="sudo"
	fi
	$sudo_cmd apt-get update -qq
	DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi
