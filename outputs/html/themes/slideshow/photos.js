{# A batch of sixty photos for the page's script, which makes the thumbnails past the first
   ones from these values with a copy of the markup of index.html. A script rather than a
   part of the page: a big album's page stays small, only the batches a visitor scrolls to
   are loaded, and pages opened from disk may load it. #}
(window.albumBatches = window.albumBatches || {})[{{ sheet.number | json }}] = [
{% for p in sheet.photos %}
{"a": {{ p.anchor | json }}, "n": {{ p.number | json }}, "t": {{ p.title | json }}, "d": {{ p.description | json }}, "alt": {{ p.alt | json }}, "ph": {{ p.placeholder | json }},
 "big": {"url": {{ p.big.url | json }}, "width": {{ p.big.width | json }}, "height": {{ p.big.height | json }}, "srcset": {{ p.big.srcset | json }}, "webp": {{ p.big.webpSrcset | json }}, "avif": {{ p.big.avifSrcset | json }}},
 "thumb": {"url": {{ p.thumb.url | json }}, "width": {{ p.thumb.width | json }}, "height": {{ p.thumb.height | json }}, "srcset": {{ p.thumb.srcset | json }}, "webp": {{ p.thumb.webpSrcset | json }}, "avif": {{ p.thumb.avifSrcset | json }}}{% if p.original.url %},
 "original": {{ p.original.url | json }}, "name": {{ p.original.name | json }}{% endif %}{% if p.camera %},
 "camera": [{% for c in p.camera %}[{{ c.label | json }}, {{ c.value | json }}], {% endfor %}]{% endif %}},
{% endfor %}
];
