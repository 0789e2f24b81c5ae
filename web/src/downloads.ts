// Files the page hands to the user: made here, saved by the browser.

export function download(name: string, content: Blob | string, type = 'text/plain;charset=utf-8'): void {
  const blob = typeof content === 'string' ? new Blob([content], { type }) : content;
  const url = URL.createObjectURL(blob);
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

// An SVG drawing as a PNG at twice its size, for slides and documents.
export async function pngOfSvg(svg: SVGSVGElement): Promise<Blob> {
  const text = new XMLSerializer().serializeToString(svg);
  const box = svg.viewBox.baseVal;
  const width = Math.ceil((box && box.width) || svg.width.baseVal.value);
  const height = Math.ceil((box && box.height) || svg.height.baseVal.value);
  const image = new Image();
  image.src = 'data:image/svg+xml;charset=utf-8,' + encodeURIComponent(text);
  await image.decode();
  const canvas = document.createElement('canvas');
  canvas.width = width * 2;
  canvas.height = height * 2;
  const context = canvas.getContext('2d')!;
  context.fillStyle = '#ffffff';
  context.fillRect(0, 0, canvas.width, canvas.height);
  context.drawImage(image, 0, 0, canvas.width, canvas.height);
  return new Promise((resolve, reject) =>
    canvas.toBlob((blob) => (blob ? resolve(blob) : reject(new Error('The drawing could not be made a PNG.'))), 'image/png'));
}
